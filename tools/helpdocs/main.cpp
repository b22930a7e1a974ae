// vestrel-helpdocs: turns a help text kept as Markdown into the PDF the program opens from
// its Help menu. Run by the build for Help.pdf and Info.pdf.
//
//   vestrel-helpdocs INPUT.md OUTPUT.pdf

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

namespace {

// A Song-style CJK face first: the manuals are in Simplified Chinese.
QStringList CjkFamilies()
{
    QStringList wanted = {QStringLiteral("AR PL UMing CN"), QStringLiteral("宋体"),
                          QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                          QStringLiteral("WenQuanYi Micro Hei")};
    QStringList found;
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : wanted)
        if (installed.contains(family)) found << family;
    return found.isEmpty() ? wanted : found;
}

}  // namespace

int main(int argc, char** argv)
{
    // Fonts and painting need a GUI application, never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: vestrel-helpdocs INPUT.md OUTPUT.pdf\n");
        return 2;
    }
    QFile input(QString::fromLocal8Bit(argv[1]));
    if (!input.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "vestrel-helpdocs: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString markdown = QString::fromUtf8(input.readAll());

    const QString outputPath = QString::fromLocal8Bit(argv[2]);
    QFile::remove(outputPath);
    {
    QPdfWriter pdf(outputPath);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);
    pdf.setResolution(300);
    pdf.setCreator(QStringLiteral("Vestrel"));
    pdf.setTitle(markdown.section(QLatin1Char('\n'), 0, 0).remove(QLatin1Char('#')).trimmed());

    QTextDocument document;
    QFont font;
    font.setFamilies(CjkFamilies());
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(QStringLiteral("table { border-collapse: collapse; } "
                                                 "th, td { border: 1px solid #888; padding: 3px; }"));
    document.setMarkdown(markdown);
    // Tables get visible rules: the Markdown importer leaves them without borders.
    document.setHtml(document.toHtml().replace(QStringLiteral("<table"),
                                               QStringLiteral("<table border=\"1\" cellpadding=\"4\"")));
    document.setDefaultFont(font);

    document.print(&pdf);
    }
    if (QFile(outputPath).size() == 0) {
        std::fprintf(stderr, "vestrel-helpdocs: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
