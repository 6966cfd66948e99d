#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace kalvero::test {

// The text of a PDF file as pdftotext (poppler-utils) reads it; pages are separated by form
// feeds. Empty when the tool fails.
inline QString PdfText(const QString& pdf, const QStringList& options = {}) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), QStringList(options) << pdf << QStringLiteral("-"));
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The pages of the PDF's text (the form feed after the last page dropped).
inline QStringList PdfPages(const QString& pdf, const QStringList& options = {}) {
    QStringList pages = PdfText(pdf, options).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

} // namespace kalvero::test
