#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>
#include <vector>

namespace veritam {

class PortalSession;

/// The import cannot start: the file, its header or the database. Nothing was saved.
class ImportError : public std::runtime_error {
public:
    explicit ImportError(const QString& message)
        : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

/// A list of watched objects imported from a CSV file: each row goes through the record
/// rules as a record saved in the editor, then through the editor's first lookup.
class RecordImport {
public:
    /// Reads and checks a UTF-8 CSV file whose header names `druh` and record columns,
    /// separated by ";" or "," (whichever the header uses). Throws ImportError.
    static RecordImport read(const QString& path);

    struct Row {
        int line = 0;                                   ///< in the file, the header being line 1
        std::vector<std::pair<QString, QString>> cells; ///< column, value; empty ones left out
        QString value(const QString& column) const;
    };
    const std::vector<Row>& rows() const { return m_rows; }

    struct Outcome {
        enum class Result { Baseline, SavedWithout, Refused };
        int line = 0;
        Result result = Result::Refused;
        QString record; ///< the record as a user names it ("parcela 345/6, k. ú. 602582")
        QString why;    ///< for a record without a baseline or a refused row
        /// The line as the import prints it.
        QString text() const;
    };
    struct Summary {
        std::vector<Outcome> rows;
        int baselines = 0;
        int without = 0;
        int refused = 0;
        QString portalRefusal; ///< why the portal refused and was asked no more; empty if not
        bool stopped = false;  ///< the user stopped the import
        QString text() const;  ///< the closing total
        /// That the portal refused and why; empty when it did not.
        QString refusalText() const;
    };
    /// Called after each row with the rows done so far; false stops the import there.
    using Progress = std::function<bool(const Outcome& row, int done, int total)>;

    /// Imports into the database of `dataFolder` through a data module of its own, logging
    /// in once and keeping the portal's pause between lookups. Throws ImportError when the
    /// database cannot be opened.
    Summary run(const QString& dataFolder, PortalSession& session, const Progress& progress) const;

    /// The columns a file may name besides `druh`.
    static QStringList recordColumns();

private:
    std::vector<Row> m_rows;
};

} // namespace veritam
