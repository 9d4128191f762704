#include "XlsxSpreadsheetLink.h"

#include "core/BuildInfo.h"
#include "platform/DesktopShell.h"
#include "platform/Failure.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTextStream>

#include <xlsxwriter.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace hv {

namespace {

constexpr int kQueryStartMs = 2000;
constexpr int kQueryFinishMs = 5000;
constexpr double kMaxColumnWidth = 255; // the widest column a sheet allows
constexpr int kMaxNameAttempts = 1000;

QString libraryError(lxw_error error) {
    return QString::fromUtf8(lxw_strerror(error));
}

// An entry "<mime type>=<applications>" with at least one application, in a
// mimeapps.list, defaults.list or mimeinfo.cache file.
bool tableNamesXlsxApplication(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    const QString key = QLatin1String(kXlsxMimeType) + QLatin1Char('=');
    QTextStream in(&file);
    QString section;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            section = line;
            continue;
        }
        if (section == QLatin1String("[Removed Associations]") || !line.startsWith(key)) continue;
        const QStringList apps = line.mid(key.size()).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        if (!apps.isEmpty()) return true;
    }
    return false;
}

bool mimeTablesNameXlsxApplication() {
    QStringList tables;
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        tables << dir + QStringLiteral("/mimeapps.list");
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation))
        tables << dir + QStringLiteral("/mimeapps.list") << dir + QStringLiteral("/defaults.list")
               << dir + QStringLiteral("/mimeinfo.cache");
    return std::any_of(tables.cbegin(), tables.cend(), tableNamesXlsxApplication);
}

bool isWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) || (c >= 0xAC00 && c <= 0xD7A3)
           || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
           || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) || (c >= 0x20000 && c <= 0x3FFFD);
}

// One workbook with one sheet. It is held in memory by libxlsxwriter and
// written only by save(); the file name it is written under is reserved in
// the target folder when the workbook is made.
class XlsxWorkbook : public SpreadsheetWorkbook {
public:
    explicit XlsxWorkbook(const QString& folder) : folder_(folder) {
        QTemporaryFile reservation(QDir(folder_).filePath(QStringLiteral(".halvorine-XXXXXX.xlsx")));
        if (!reservation.open())
            throw Failure(QStringLiteral("Cannot create a workbook in \"%1\": %2")
                              .arg(QDir::toNativeSeparators(folder_), reservation.errorString()));
        reservation.setAutoRemove(false);
        reservedPath_ = reservation.fileName();
        reservation.close();
        workbook_ = workbook_new(QFile::encodeName(reservedPath_).constData());
        sheet_ = workbook_ ? workbook_add_worksheet(workbook_, nullptr) : nullptr;
        if (!sheet_) {
            discard();
            throw Failure(QStringLiteral("Cannot create a workbook: out of memory"));
        }
    }

    ~XlsxWorkbook() override { discard(); }

    XlsxWorkbook(const XlsxWorkbook&) = delete;
    XlsxWorkbook& operator=(const XlsxWorkbook&) = delete;

    void setCell(std::int32_t row, std::int32_t column, const QString& text) override {
        if (!workbook_) throw Failure(QStringLiteral("The workbook has been saved and closed"));
        if (row < 1 || row > LXW_ROW_MAX || column < 1 || column > LXW_COL_MAX)
            throw Failure(QStringLiteral("Cell (%1, %2) lies outside the sheet").arg(row).arg(column));
        const QByteArray utf8 = text.toUtf8();
        // A text cell always: no formula, number or date is ever made of it.
        const lxw_error error = worksheet_write_string(sheet_, static_cast<lxw_row_t>(row - 1),
                                                       static_cast<lxw_col_t>(column - 1), utf8.constData(), nullptr);
        if (error != LXW_NO_ERROR)
            throw Failure(
                QStringLiteral("Cannot write cell (%1, %2): %3").arg(row).arg(column).arg(libraryError(error)));
        const size_t index = static_cast<size_t>(column - 1);
        if (widths_.size() <= index) widths_.resize(index + 1, 0);
        widths_[index] = std::max(widths_[index], xlsxTextWidth(text));
    }

    void autoFitColumns() override {
        if (!workbook_) throw Failure(QStringLiteral("The workbook has been saved and closed"));
        for (size_t c = 0; c < widths_.size(); ++c) {
            if (widths_[c] == 0) continue;
            const double width = std::min(kMaxColumnWidth, widths_[c] + 1.0);
            const auto column = static_cast<lxw_col_t>(c);
            worksheet_set_column(sheet_, column, column, width, nullptr);
        }
    }

    // Writes the workbook and gives it a new name in its folder; returns the
    // path. A workbook saved before answers the path it got then.
    QString save(const QDateTime& when) {
        if (!savedPath_.isEmpty()) return savedPath_;
        lxw_workbook* workbook = std::exchange(workbook_, nullptr);
        const lxw_error error = workbook_close(workbook); // frees it, written or not
        if (error != LXW_NO_ERROR) {
            QFile::remove(reservedPath_);
            throw Failure(QStringLiteral("Cannot save the workbook in \"%1\": %2")
                              .arg(QDir::toNativeSeparators(folder_), libraryError(error)));
        }
        for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt) {
            const QString target = QDir(folder_).filePath(xlsxWorkbookName(when, attempt));
            if (QFile::exists(target)) continue;
            QFile reserved(reservedPath_);
            if (reserved.rename(target)) { // never replaces a file of that name
                reservedPath_.clear();
                savedPath_ = target;
                return savedPath_;
            }
            if (!QFile::exists(target)) {
                const QString reason = reserved.errorString();
                QFile::remove(reservedPath_);
                throw Failure(QStringLiteral("Cannot save the workbook as \"%1\": %2")
                                  .arg(QDir::toNativeSeparators(target), reason));
            }
        }
        QFile::remove(reservedPath_);
        throw Failure(QStringLiteral("Cannot save the workbook: no free file name in \"%1\"")
                          .arg(QDir::toNativeSeparators(folder_)));
    }

private:
    void discard() {
        if (workbook_) lxw_workbook_free(std::exchange(workbook_, nullptr));
        if (!reservedPath_.isEmpty()) QFile::remove(std::exchange(reservedPath_, QString()));
    }

    QString folder_;
    QString reservedPath_; // the name the workbook is written under until it is saved
    QString savedPath_;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    std::vector<int> widths_; // per column, the widest text written
};

class XlsxApplication : public SpreadsheetApplication {
public:
    XlsxApplication(DesktopShell& desktop, const XlsxLinkOptions& options) : desktop_(desktop), options_(options) {}

    SpreadsheetWorkbook& addWorkbook() override {
        const QString folder = options_.folder.isEmpty() ? QDir::tempPath() : options_.folder;
        workbooks_.push_back(std::make_unique<XlsxWorkbook>(folder));
        return *workbooks_.back();
    }

    void setVisible(bool visible) override {
        if (!visible) return;
        const QDateTime when = options_.clock ? options_.clock() : QDateTime::currentDateTime();
        for (const auto& workbook : workbooks_) {
            const QString path = workbook->save(when);
            if (!desktop_.openDocument(path))
                throw Failure(QStringLiteral("The workbook was saved as \"%1\" but could not be opened")
                                  .arg(QDir::toNativeSeparators(path)));
        }
    }

private:
    DesktopShell& desktop_;
    XlsxLinkOptions options_;
    std::vector<std::unique_ptr<XlsxWorkbook>> workbooks_;
};

} // namespace

bool desktopOpensXlsx() {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), QString::fromLatin1(kXlsxMimeType)});
    if (query.waitForStarted(kQueryStartMs)) {
        if (query.waitForFinished(kQueryFinishMs) && query.exitStatus() == QProcess::NormalExit
            && query.exitCode() == 0)
            return !query.readAllStandardOutput().trimmed().isEmpty();
        query.kill();
        query.waitForFinished(kQueryStartMs);
    }
    return mimeTablesNameXlsxApplication();
}

QString xlsxWorkbookName(const QDateTime& when, int attempt) {
    QString name = productName() + QStringLiteral(" results ") + when.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    if (attempt > 1) name += QStringLiteral(" (%1)").arg(attempt);
    return name + QStringLiteral(".xlsx");
}

int xlsxTextWidth(const QString& text) {
    int width = 0;
    for (char32_t c : text.toUcs4()) width += isWide(c) ? 2 : 1;
    return width;
}

XlsxSpreadsheetLink::XlsxSpreadsheetLink(DesktopShell& desktop, XlsxLinkOptions options)
    : desktop_(desktop),
      options_(std::move(options)) {}

std::unique_ptr<SpreadsheetApplication> XlsxSpreadsheetLink::create() {
    const bool available = options_.viewerAvailable ? options_.viewerAvailable() : false;
    if (!available) throw Failure(QStringLiteral("No application to open XLSX workbooks is available"));
    return std::make_unique<XlsxApplication>(desktop_, options_);
}

} // namespace hv
