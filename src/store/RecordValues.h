#pragma once

#include <QString>
#include <QVariant>

namespace veritam {

class Dataset;
struct EditorField;
enum class RecordKind;

/// What a number typed into a record means, read by one rule wherever a record is written.
namespace RecordValues {

struct Reading {
    QVariant value;  ///< NULL for an empty text
    QString refused; ///< why the text is no value of the field; empty when it is one
    QString note;    ///< how the text was understood, when not as it stands
};

/// The largest number a record's number column takes.
constexpr qlonglong kLargestNumber = 999999999;
/// The longest name a record takes, in characters.
constexpr qsizetype kLongestText = 255;

/// A whole number from 1 to kLargestNumber, blanks around it ignored; a unit's number typed
/// as "1520/7" is unit 7 when 1520 is the number of the building in `record`'s current row.
Reading number(const EditorField& field, const QString& text, const Dataset& record);

/// A text for the kind's column as capture and the import bring it: a number as above, a
/// choice one of its values, a name at most kLongestText long; a column the editor does not
/// show passes as it stands.
Reading read(RecordKind kind, const QString& column, const QString& text, const Dataset& record);

} // namespace RecordValues
} // namespace veritam
