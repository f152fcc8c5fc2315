// px10-report-pdf: the six reports of a configuration printed to a PDF in one
// language of a dictionary, to look at a printout without a printer. It
// prints what the program prints in that language: a new configuration
// without a file, the "Ev." column blank where the language sets VdS
// compatibility, and spin options at the limits their controls show.
#include "Exception.h"
#include "File.h"
#include "Ivbindic.h"
#include "LanguageRules.h"
#include "PX10ConfigData.h"
#include "Panelsetupoptionslogic.h"
#include "ReportJob.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>

#include <charconv>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace {

const char* const Usage = "usage: px10-report-pdf DICTIONARY.mld LANGUAGE OUT.pdf [FILE.UDF]\n"
                          "Prints the six reports (panel setup options, zone texts, on-board outputs,\n"
                          "CBE rules, sensors, modules) to OUT.pdf as the program prints them in the\n"
                          "language LANGUAGE of the dictionary, a number from 0 (in the shipped\n"
                          "dictionary 1 English to 5 German). Without FILE.UDF it prints a new\n"
                          "configuration, with the defaults File, New gives in that language. Where the\n"
                          "language sets VdS compatibility (German), the \"Ev.\" column stays blank.\n"
                          "OUT.pdf must be a plain file (new, or replaced crash-safely as the program\n"
                          "saves), and neither the dictionary nor FILE.UDF.\n"
                          "On a failure it says why on stderr, exits with 1 and writes nothing: an\n"
                          "OUT.pdf already there stays as it was.\n";

// The whole of `text` as a number, or -1.
int LanguageNumber(const char* text)
{
    int n = -1;
    const char* end = text + std::strlen(text);
    const auto [at, error] = std::from_chars(text, end, n);
    return error == std::errc() && at == end && at != text && n >= 0 ? n : -1;
}

// Refuses an output that is one of the inputs under any name (a link, a hard
// link, another spelling of its path): writing it would destroy the input.
void RefuseOutputThatIsAnInput(const std::string& out, const std::string& input)
{
    struct stat o { };
    struct stat i { };
    if (!input.empty() && ::stat(out.c_str(), &o) == 0 && ::stat(input.c_str(), &i) == 0
        && o.st_dev == i.st_dev && o.st_ino == i.st_ino)
        throw Exception("Cannot write " + out, "It is the same file as the input " + input + ".");
}

} // namespace

int main(int argc, char** argv)
{
    // It draws into a PDF only: no display needed, and the same PDF with one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << Usage;
        return 0;
    }
    if (argc != 4 && argc != 5) {
        std::cerr << Usage;
        return 2;
    }
    const std::string dictionaryFile = argv[1], outFile = argv[3], udfFile = argc == 5 ? argv[4] : "";
    try {
        RefuseOutputThatIsAnInput(outFile, dictionaryFile);
        RefuseOutputThatIsAnInput(outFile, udfFile);
        TIvBinaryDictionary dictionary;
        dictionary.SetFileName(dictionaryFile);
        dictionary.SetCheckLevel(ivclNone);
        if (!dictionary.CanBeOpened())
            throw Exception("No dictionary file " + dictionaryFile);
        try {
            dictionary.Open();
        } catch (const std::exception& e) {
            throw Exception("Cannot read the dictionary " + dictionaryFile, e.what());
        }
        const int count = dictionary.GetLanguageCount();
        const int language = LanguageNumber(argv[2]);
        if (language < 0 || language >= count)
            throw Exception(std::string("No language \"") + argv[2] + "\" in " + dictionaryFile,
                "Its languages are the numbers 0 to " + std::to_string(count - 1) + ".");
        dictionary.SetLanguage(language);

        // The VdS mark follows the language, as it does in the program, and
        // with it the defaults of a new configuration.
        const bool vds = IsVdSLanguage(&dictionary);
        const TNewConfigFlags f = NewConfigFlags(vds, &dictionary);
        const auto config = std::make_unique<TPX10ConfigData>(
            f.VdSDefaults, f.LED2CModeDefault, f.TorqSwitchDefault, f.ControlKey3ModeDefault);
        if (!udfFile.empty()) {
            try {
                config->LoadFromFile(udfFile);
            } catch (const std::exception& e) {
                throw Exception("Cannot read " + udfFile, e.what());
            }
        }
        // As the program shows a configuration that becomes current.
        PanelSetupOptions::WriteBackSpinValues(*config);
        report::TReportForms forms;
        report::TReportContext context;
        context.FileName = udfFile;
        context.VdSCompatibility = vds;
        const auto pages
            = report::BuildComposite(forms.Chosen({ true, true, true, true, true, true }), *config, context);

        // Saved as the program saves its files; its refusals (a pipe, a
        // device, a read-only file) come before the PDF is drawn.
        try {
            platform::AtomicFileWriter writer(outFile);
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            {
                QPdfWriter pdf(&buffer);
                report::RenderPages(pdf, pages);
            }
            writer.Write(buffer.data().constData(), std::size_t(buffer.data().size()));
            writer.Commit();
        } catch (const platform::FileError& e) {
            throw Exception("Cannot write " + outFile,
                e.Text.empty() ? "Not a plain file (a pipe or a device): the output must be a file."
                               : e.Text);
        }
    } catch (const std::exception& e) {
        std::cerr << "px10-report-pdf: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
