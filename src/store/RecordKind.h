#pragma once

#include "store/SectionTable.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <array>
#include <vector>

namespace veritam {

class Dataset;
class DatasetModel;
class RecordRules;
class TDM1;

/// The three kinds of watched record, handled alike throughout the program.
enum class RecordKind { Parcel, Building, Unit };

constexpr std::array<RecordKind, 3> kAllRecordKinds = {RecordKind::Parcel, RecordKind::Building,
                                                       RecordKind::Unit};

/// A column of a record list in the main window.
struct GridColumn {
    QString field;
    QString title;
    int width; ///< 0: as the field's text needs
};

/// A column of a record that says where the object lies, chosen from a code list: the
/// editor and the import make the list's row current, the rules copy its code on save.
struct PlaceColumn {
    QString column;      ///< uzemi, obec, cast_obce
    Dataset TDM1::*list; ///< the code list it is chosen from, narrowed by the places before it
    QString code;        ///< the list's code field
    QString nameField;   ///< the list's name, which the editor's search narrows
    QString noun;        ///< "katastrální území" ("Vyberte …")
    QString unknown;     ///< a code the list lacks; "{value}" and the row's "{column}"s filled in
    bool required;       ///< the editor refuses a record without it
    QString grid;        ///< the object name of the editor's grid over the list
    std::vector<GridColumn> gridColumns;
};

/// An entry control of the record editor's panel, below the search and the places' lists.
struct EditorField {
    enum class Form { Number, Choice, Text, Check };
    QString column;
    QString label; ///< "Typ parcely:"; a check's caption; a message names the field by it
    Form form;
    QString name;          ///< the control's object name
    QStringList choices{}; ///< a choice's captions
    QVariantList values{}; ///< the value each caption stands for
    int choiceColumns = 0; ///< the captions' columns
    bool sameRow = false;  ///< a number shown after the one above, "/" between them
};

/// A number a record cannot be saved without, and what the editor then says.
struct RequiredNumber {
    QString column;
    QString missing;
};

/// Everything that differs between parcels, buildings and units, in one place; the rest of
/// the program reads it instead of telling the kinds apart itself.
///
/// Line templates name the row's columns in braces ("{cislo_stavby}"); "{label}" stands for
/// the parcel's designation: "st. " for a building parcel, the number, and " / " with the
/// subdivision when it has one; "{number}" the same written "st. 12/3".
struct KindTable {
    RecordKind kind;

    // --- database
    QString recordTable;     ///< parcely, stavby, jednotky
    QString changeTable;     ///< zmeny_parcel, zmeny_staveb, zmeny_jednotek
    QString referenceColumn; ///< id_parcely, id_stavby, id_jednotky
    Dataset TDM1::*recordQuery;
    DatasetModel TDM1::*recordSource;
    Dataset TDM1::*historyQuery;
    DatasetModel TDM1::*historySource;
    bool RecordRules::*newRecordInserted; ///< a record of the kind was inserted, not saved yet
    QString word;                         ///< "parcela", "stavba", "jednotka"
    std::vector<RequiredNumber> required; ///< asked for in this order, before the places
    std::vector<PlaceColumn> places;      ///< in the order they narrow each other

    // --- analysis
    std::vector<Section> compared; ///< in the order they are compared and written
    QString snapshotFolder;        ///< relative to the data folder, followed by the record's ID
    QString changeLogFirst;        ///< "Změna u parcely ID "
    QString changeLogSecond;       ///< ". Vlastní označení parcely "

    // --- portal
    QString searchPath;        ///< the search page on the viewer host
    QStringList searchColumns; ///< the record's columns given to the search, in the driver's order

    // --- full check run
    QString resetStatement;
    QString selectionStatement;
    QString statusText;    ///< followed by n "/" total
    QString visitingLine;  ///< run log, before the lookup
    bool pageLoadedLine;   ///< "Načteno ze serveru, zpracovávám data." after the lookup
    QString failureRecord; ///< the record line of the failure block, after "- "
    QString summaryLine;   ///< change summary
    /// The record as the user names it, one form wherever a line is not the specified run
    /// log's: "parcela {number}" ({number}: "st. 12/3"), and where it lies.
    QString description;
    QString place;
    QString progressName; ///< the pass named beside the progress bar

    // --- main window
    QString listCaption; ///< PARCELY, STAVBY, JEDNOTKY
    unsigned listColour; ///< 0xRRGGBB of the list's header strip
    int switchColumn;    ///< visual column whose click switches `kontrolovat`
    std::vector<GridColumn> columns;
    bool historyWhenEmpty; ///< the history window opens on a record without changes

    // --- record editor
    QString editorNavigator; ///< the object names of the editor's navigator, search and list
    QString editorSearch;
    QString editorList;
    QString searchLabel; ///< "Název obce:"
    QString searchHint;  ///< the empty search's placeholder
    std::vector<EditorField> editorFields;
    std::vector<GridColumn> editorColumns;
    /// Said after capture when the object's page lacks something the record needs.
    QString captureNote;
};

const KindTable& kindTable(RecordKind kind);

} // namespace veritam
