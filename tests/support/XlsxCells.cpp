#include "XlsxCells.h"

#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>

namespace hv::test {

namespace {

QByteArray unzipMember(const QString& archive, const QString& member, bool* ok) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, member});
    *ok = unzip.waitForFinished(30000) && unzip.exitStatus() == QProcess::NormalExit && unzip.exitCode() == 0;
    return unzip.readAllStandardOutput();
}

// The texts of every <si> entry: all its <t> runs joined.
QStringList sharedStrings(const QByteArray& xml) {
    QStringList strings;
    QXmlStreamReader reader(xml);
    QString current;
    bool inItem = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("si")) {
            inItem = true;
            current.clear();
        } else if (reader.isStartElement() && reader.name() == QLatin1String("t") && inItem) {
            current += reader.readElementText();
        } else if (reader.isEndElement() && reader.name() == QLatin1String("si")) {
            strings.append(current);
            inItem = false;
        }
    }
    return strings;
}

} // namespace

QString XlsxSheet::text(const QString& reference) const {
    const auto found = cells.find(reference);
    return found == cells.end() ? QString() : found->second.text;
}

XlsxSheet readXlsxSheet(const QString& path) {
    XlsxSheet sheet;
    bool sheetOk = false;
    bool stringsOk = false;
    const QByteArray sheetXml = unzipMember(path, QStringLiteral("xl/worksheets/sheet1.xml"), &sheetOk);
    const QStringList strings = sharedStrings(unzipMember(path, QStringLiteral("xl/sharedStrings.xml"), &stringsOk));
    if (!sheetOk) return sheet;

    QXmlStreamReader reader(sheetXml);
    QString reference;
    XlsxCell cell;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement() && !reader.isEndElement()) continue;
        const auto name = reader.name();
        if (reader.isStartElement() && name == QLatin1String("col")) {
            const auto attributes = reader.attributes();
            const int first = attributes.value(QLatin1String("min")).toInt();
            const int last = attributes.value(QLatin1String("max")).toInt();
            for (int c = first; c <= last; ++c)
                sheet.columnWidths[c] = attributes.value(QLatin1String("width")).toDouble();
        } else if (reader.isStartElement() && name == QLatin1String("c")) {
            reference = reader.attributes().value(QLatin1String("r")).toString();
            cell = XlsxCell{};
            cell.type = reader.attributes().value(QLatin1String("t")).toString();
        } else if (reader.isStartElement() && name == QLatin1String("f")) {
            cell.formula = true;
        } else if (reader.isStartElement() && name == QLatin1String("v")) {
            const QString value = reader.readElementText();
            cell.text = cell.type == QLatin1String("s") ? strings.value(value.toInt()) : value;
        } else if (reader.isStartElement() && name == QLatin1String("t")) {
            cell.text += reader.readElementText();
        } else if (reader.isEndElement() && name == QLatin1String("c")) {
            sheet.cells[reference] = cell;
        }
    }
    sheet.ok = !reader.hasError();
    return sheet;
}

} // namespace hv::test
