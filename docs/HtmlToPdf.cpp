// Prints an HTML file to an A4 PDF with Qt's own rich-text engine, so that the build makes the unit's
// description with nothing beyond Qt. Runs on the offscreen platform: no display is needed.
// Usage: HtmlToPdf <input.html> <output.pdf>

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: HtmlToPdf <input.html> <output.pdf>\n");
        return 2;
    }
    QFile input(QString::fromLocal8Bit(argv[1]));
    if (!input.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "HtmlToPdf: cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument document;
    document.setHtml(QString::fromUtf8(input.readAll()));

    const QString output = QString::fromLocal8Bit(argv[2]);
    {
        QPdfWriter pdf(output);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter);
        pdf.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        pdf.setCreator(QStringLiteral("Tandrel"));
        document.print(&pdf);
    }
    if (QFileInfo(output).size() == 0) {
        std::fprintf(stderr, "HtmlToPdf: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
