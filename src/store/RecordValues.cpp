#include "store/RecordValues.h"

#include "store/Dataset.h"
#include "store/RecordKind.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace veritam::RecordValues {

namespace {

QString title(const EditorField& field) {
    QString label = field.label;
    if (label.endsWith(u':'))
        label.chop(1);
    return label;
}

std::optional<qlonglong> whole(const QString& digits) {
    static const QRegularExpression onlyDigits(QStringLiteral("^[0-9]{1,10}$"));
    if (!onlyDigits.match(digits).hasMatch())
        return std::nullopt;
    const qlonglong n = digits.toLongLong();
    if (n < 1 || n > kLargestNumber)
        return std::nullopt;
    return n;
}

} // namespace

Reading number(const EditorField& field, const QString& text, const Dataset& record) {
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return {};
    if (const std::optional<qlonglong> n = whole(typed))
        return {*n, {}, {}};
    // "1520/7": the building's number and the unit's, as the portal writes a unit.
    static const QRegularExpression unitOfBuilding(QStringLiteral("^([0-9]+)\\s*/\\s*([0-9]+)$"));
    const QRegularExpressionMatch m = unitOfBuilding.match(typed);
    if (field.column == QLatin1String("cislo_jednotky") && m.hasMatch()) {
        const QString building =
            record.currentRow() >= 0 ? record.text(QStringLiteral("cislo_stavby")) : QString();
        const std::optional<qlonglong> unit = whole(m.captured(2));
        if (unit && m.captured(1) == building)
            return {*unit,
                    {},
                    QStringLiteral("%1 „%2“: uloženo jako jednotka %3 ve stavbě %4.")
                        .arg(title(field), typed, QString::number(*unit), building)};
        return {{},
                QStringLiteral("%1: „%2“ – číslo před lomítkem není číslo stavby záznamu (%3). "
                               "Zadejte jen číslo jednotky.")
                    .arg(title(field), typed,
                         building.isEmpty() ? QStringLiteral("zatím nevyplněno") : building),
                {}};
    }
    // A text of any length may come from a file; the message quotes its start.
    return {{},
            QStringLiteral("%1: „%2“ není celé číslo od 1 do %3. Zadejte jen číslice.")
                .arg(title(field), typed.left(40), QString::number(kLargestNumber)),
            {}};
}

Reading read(RecordKind kind, const QString& column, const QString& text, const Dataset& record) {
    const std::vector<EditorField>& fields = kindTable(kind).editorFields;
    const auto field = std::ranges::find(fields, column, &EditorField::column);
    if (field == fields.end())
        return {text, {}, {}};
    switch (field->form) {
    case EditorField::Form::Number:
        return number(*field, text, record);
    case EditorField::Form::Choice:
        if (text.trimmed().isEmpty())
            return {text, {}, {}}; // not given: the new record's default or empty
        for (const QVariant& value : field->values)
            if (value.toString() == text.trimmed())
                return {value, {}, {}};
        return {{},
                QStringLiteral("%1: „%2“ není žádná z hodnot %3.")
                    .arg(title(*field), text.left(40),
                         [&] {
                             QStringList values;
                             for (const QVariant& value : field->values)
                                 values.append(value.toString());
                             return values.join(QStringLiteral(", "));
                         }()),
                {}};
    case EditorField::Form::Text:
        if (text.size() > kLongestText)
            return {{},
                    QStringLiteral("%1: text má %2 znaků, nejvýš lze %3.")
                        .arg(title(*field))
                        .arg(text.size())
                        .arg(kLongestText),
                    {}};
        return {text, {}, {}};
    case EditorField::Form::Check:
        break;
    }
    return {text, {}, {}};
}

} // namespace veritam::RecordValues
