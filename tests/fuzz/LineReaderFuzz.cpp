// Text dictionary sources come from disk or resources: every reader must
// give lines or a clean exception, and never read past the data.
#include "Exception.h"
#include "Ivlinerd.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// Reads as a dictionary load does: the first exception (a line that is not
// UTF-8 among them) ends the reading. Going on past every bad line would
// run the same line code again at the price of an exception per line,
// which under the sanitizers costs more than all the rest.
template <class Reader> void Drain(Reader& reader)
{
    try {
        reader.Open();
        // Every line read moves on, so this ends.
        while (!reader.Eof())
            reader.ReadLine();
    } catch (const Exception&) {
    }
    reader.Close();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // The UTF-8 readers decode each line with IvUTF8ToWStr, so it is not run
    // again over the whole input.
    IvRegisterResource(IvLineResourceType, "MlFuzz", bytes);
    TIvResourceAnsiReader ansiResource;
    ansiResource.FileName = "MlFuzz";
    Drain(ansiResource);
    TIvResourceUTF8Reader utf8Resource;
    utf8Resource.FileName = "MlFuzz";
    Drain(utf8Resource);
    TIvResourceUTF16Reader utf16Resource;
    utf16Resource.FileName = "MlFuzz";
    Drain(utf16Resource);
    IvUnregisterResource(IvLineResourceType, "MlFuzz");

    // The file readers through one file in memory, refilled for each input:
    // every reader still opens it by name and reads it from its start.
    static const int fd = ::memfd_create("linereader", MFD_CLOEXEC);
    static const std::string name = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ::ftruncate(fd, 0) != 0
        || ::pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
        return 0;
    TIvAnsiReader ansi;
    ansi.FileName = name;
    Drain(ansi);
    TIvUTF8Reader utf8;
    utf8.FileName = name;
    Drain(utf8);
    TIvUTF16Reader checked(ivboLittleEndian, true);
    checked.FileName = name;
    Drain(checked);
    TIvUTF16Reader unchecked(ivboBigEndian, false);
    unchecked.FileName = name;
    Drain(unchecked);
    return 0;
}
