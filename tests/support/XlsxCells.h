#pragma once

#include <QString>

#include <map>

namespace hv::test {

// One cell of a sheet as the workbook file stores it.
struct XlsxCell {
    QString type; // the cell's t attribute: "s" (shared text), "inlineStr", "str", "n", ...
    QString text;
    bool formula = false;
};

// The first sheet of an XLSX workbook, read back from the file (unpacked
// with the `unzip` tool).
struct XlsxSheet {
    bool ok = false;
    std::map<QString, XlsxCell> cells;  // by reference, "A1"
    std::map<int, double> columnWidths; // by column, from 1
    QString text(const QString& reference) const;
};

XlsxSheet readXlsxSheet(const QString& path);

} // namespace hv::test
