// px10-report-pdf: the six reports of a configuration printed to a PDF in one
// language of a dictionary, to look at a printout without a printer.
//   px10-report-pdf DICTIONARY.mld LANGUAGE OUT.pdf [FILE.UDF]
// LANGUAGE is the dictionary's language number (1 for the first). Without a
// file the configuration of long texts that the report tests print is used.
#include "Exception.h"
#include "Ivbindic.h"
#include "ReportJob.h"
#include "reports/LongTexts.h"

#include <QGuiApplication>
#include <QPdfWriter>

#include <iostream>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::cerr << "usage: px10-report-pdf DICTIONARY.mld LANGUAGE OUT.pdf [FILE.UDF]\n";
        return 2;
    }
    try {
        TIvBinaryDictionary dictionary;
        dictionary.SetFileName(argv[1]);
        dictionary.SetCheckLevel(ivclNone);
        dictionary.SetLanguage(std::atoi(argv[2]));
        dictionary.Open();
        std::unique_ptr<TPX10ConfigData> config;
        if (argc > 4) {
            config = std::make_unique<TPX10ConfigData>(false, false, true, false);
            config->LoadFromFile(argv[4]);
        } else
            config = MakeLongTextConfiguration();
        report::TReportForms forms;
        report::TReportContext context;
        context.FileName = argc > 4 ? argv[4] : "";
        QPdfWriter pdf(QString::fromLocal8Bit(argv[3]));
        report::RenderPages(pdf,
            report::BuildComposite(forms.Chosen({ true, true, true, true, true, true }), *config, context));
    } catch (const Exception& e) {
        std::cerr << e.Message() << "\n";
        return 1;
    }
    return 0;
}
