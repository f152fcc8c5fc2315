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

template <class Reader> void Drain(Reader& reader)
{
    try {
        reader.Open();
        // Every line read moves on, so this ends.
        while (!reader.Eof()) {
            try {
                reader.ReadLine();
            } catch (const EIvUTF8&) {
            }
        }
    } catch (const Exception&) {
    }
    reader.Close();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::u16string wide;
    try {
        IvUTF8ToWStr(bytes, wide);
    } catch (const EIvUTF8&) {
    }

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

    // The file readers through a file in memory.
    int fd = ::memfd_create("linereader", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    if (::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size())) {
        std::string name = "/proc/self/fd/" + std::to_string(fd);
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
    }
    ::close(fd);
    return 0;
}
