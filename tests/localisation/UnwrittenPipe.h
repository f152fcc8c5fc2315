#pragma once
// A named pipe that nobody writes to, watched: a reader that waits on it
// instead of refusing it is released after a while by opening the writing
// end, and Released() tells the test, which then fails instead of hanging.
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

class UnwrittenPipe {
public:
    explicit UnwrittenPipe(std::string path)
        : Path(std::move(path))
    {
        if (::mkfifo(Path.c_str(), 0600) != 0)
            throw std::runtime_error("mkfifo " + Path);
        Watchdog = std::thread([this] {
            std::unique_lock lock(Mutex);
            if (Changed.wait_for(lock, std::chrono::seconds(5), [this] { return Finished; }))
                return;
            WasReleased = true;
            // A reader waiting in open lets the writing end open; closing it
            // again gives that reader the end of the data. Every later open
            // waits as well, so keep releasing until the test is over.
            while (!Finished) {
                const int fd = ::open(Path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0)
                    ::close(fd);
                Changed.wait_for(lock, std::chrono::milliseconds(20));
            }
        });
    }
    ~UnwrittenPipe()
    {
        {
            std::lock_guard lock(Mutex);
            Finished = true;
        }
        Changed.notify_all();
        Watchdog.join();
        ::unlink(Path.c_str());
    }
    UnwrittenPipe(const UnwrittenPipe&) = delete;
    UnwrittenPipe& operator=(const UnwrittenPipe&) = delete;

    const std::string& Name() const { return Path; }
    bool Released()
    {
        std::lock_guard lock(Mutex);
        return WasReleased;
    }

private:
    std::string Path;
    std::mutex Mutex;
    std::condition_variable Changed;
    bool Finished = false;
    bool WasReleased = false;
    std::thread Watchdog;
};
