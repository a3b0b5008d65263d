#pragma once

namespace veritam {

class TDM1;
class Dataset;
class RecordEditorPort;
enum class RecordKind;

/// The rules on the record queries' events, whoever causes the event: defaults of new
/// records, codes copied from the lookup queries on save, refused incomplete saves, the
/// history and part lists following the current row, and the cascade delete.
class RecordRules {
public:
    RecordRules(TDM1& dm, RecordEditorPort& editor);
    RecordRules(const RecordRules&) = delete;
    RecordRules& operator=(const RecordRules&) = delete;

    /// Binds the rules to the data module's query events.
    void attach();

    /// A row of the kind was inserted and the record editor has not handled its save yet.
    bool NewParcelInserted = false;
    bool NewBuildingInserted = false;
    bool NewUnitInserted = false;
    /// The kind's flag of the three above.
    bool& newRecordInserted(RecordKind kind);

    void Parcely_QueryAfterInsert(Dataset& q);
    void Parcely_QueryAfterEdit(Dataset& q);
    void Parcely_QueryBeforePost(Dataset& q);
    void Parcely_QueryAfterPost(Dataset& q);
    void Parcely_QueryAfterCancel(Dataset& q);
    void Parcely_QueryBeforeDelete(Dataset& q);
    void Parcely_QueryAfterScroll(Dataset& q);

    void Stavby_QueryAfterInsert(Dataset& q);
    void Stavby_QueryAfterEdit(Dataset& q);
    void Stavby_QueryBeforePost(Dataset& q);
    void Stavby_QueryAfterPost(Dataset& q);
    void Stavby_QueryAfterCancel(Dataset& q);
    void Stavby_QueryBeforeDelete(Dataset& q);
    void Stavby_QueryAfterScroll(Dataset& q);

    void Jednotky_QueryAfterInsert(Dataset& q);
    void Jednotky_QueryAfterEdit(Dataset& q);
    void Jednotky_QueryBeforePost(Dataset& q);
    void Jednotky_QueryAfterPost(Dataset& q);
    void Jednotky_QueryAfterCancel(Dataset& q);
    void Jednotky_QueryBeforeDelete(Dataset& q);
    void Jednotky_QueryAfterScroll(Dataset& q);

    void Obce_QueryAfterScroll(Dataset& q);
    void User_QueryAfterInsert(Dataset& q);

private:
    void insertBuildingDefaults(Dataset& q);
    /// The code lists' current rows made the record's places.
    void putOnPlaces(Dataset& q, RecordKind kind);
    /// The places copied from the code lists; a record without a required value refused.
    void copyPlacesAndRequire(Dataset& q, RecordKind kind);
    void deleteWithCascade(Dataset& q, RecordKind kind);
    void followWithHistory(Dataset& q, RecordKind kind);

    TDM1& m_dm;
    RecordEditorPort& m_editor;
};

} // namespace veritam
