#include "store/RecordRules.h"

#include "platform/DataFolder.h"
#include "platform/UserMessages.h"
#include "store/DatabaseError.h"
#include "store/RecordEditorPort.h"
#include "store/TDM1.h"

namespace veritam {

using SearchBox = RecordEditorPort::SearchBox;

RecordRules::RecordRules(TDM1& dm, RecordEditorPort& editor)
    : m_dm(dm)
    , m_editor(editor) {}

void RecordRules::attach() {
    auto bind = [this](void (RecordRules::*handler)(Dataset&)) {
        return [this, handler](Dataset& q) { (this->*handler)(q); };
    };
    Dataset& p = m_dm.Parcely_Query;
    p.afterInsert = bind(&RecordRules::Parcely_QueryAfterInsert);
    p.afterEdit = bind(&RecordRules::Parcely_QueryAfterEdit);
    p.beforePost = bind(&RecordRules::Parcely_QueryBeforePost);
    p.afterPost = bind(&RecordRules::Parcely_QueryAfterPost);
    p.afterCancel = bind(&RecordRules::Parcely_QueryAfterCancel);
    p.beforeDelete = bind(&RecordRules::Parcely_QueryBeforeDelete);
    p.afterScroll = bind(&RecordRules::Parcely_QueryAfterScroll);

    Dataset& s = m_dm.Stavby_Query;
    s.afterInsert = bind(&RecordRules::Stavby_QueryAfterInsert);
    s.afterEdit = bind(&RecordRules::Stavby_QueryAfterEdit);
    s.beforePost = bind(&RecordRules::Stavby_QueryBeforePost);
    s.afterPost = bind(&RecordRules::Stavby_QueryAfterPost);
    s.afterCancel = bind(&RecordRules::Stavby_QueryAfterCancel);
    s.beforeDelete = bind(&RecordRules::Stavby_QueryBeforeDelete);
    s.afterScroll = bind(&RecordRules::Stavby_QueryAfterScroll);

    Dataset& j = m_dm.Jednotky_Query;
    j.afterInsert = bind(&RecordRules::Jednotky_QueryAfterInsert);
    j.afterEdit = bind(&RecordRules::Jednotky_QueryAfterEdit);
    j.beforePost = bind(&RecordRules::Jednotky_QueryBeforePost);
    j.afterPost = bind(&RecordRules::Jednotky_QueryAfterPost);
    j.afterCancel = bind(&RecordRules::Jednotky_QueryAfterCancel);
    j.beforeDelete = bind(&RecordRules::Jednotky_QueryBeforeDelete);
    j.afterScroll = bind(&RecordRules::Jednotky_QueryAfterScroll);

    m_dm.Obce_Query.afterScroll = bind(&RecordRules::Obce_QueryAfterScroll);
    m_dm.User_Query.afterInsert = bind(&RecordRules::User_QueryAfterInsert);
}

// ---------------------------------------------------------------------------
// Shared pieces

void RecordRules::insertBuildingDefaults(Dataset& q) {
    q.setValue(QStringLiteral("user_id"), 1);
    q.setValue(QStringLiteral("typ_stavby"), 1);
    q.setValue(QStringLiteral("kontrolovat"), true);
}

void RecordRules::putOnPlaces(Dataset& q, RecordKind kind) {
    for (const PlaceColumn& place : kindTable(kind).places)
        (m_dm.*place.list).locate(place.code, q.value(place.column));
}

void RecordRules::copyPlacesAndRequire(Dataset& q, RecordKind kind) {
    const KindTable& t = kindTable(kind);
    for (const PlaceColumn& place : t.places) {
        const Dataset& list = m_dm.*place.list;
        q.setValue(place.column, list.currentRow() >= 0 ? list.value(place.code) : QVariant());
    }
    const auto refuse = [this](const QString& message) {
        m_dm.messages().showMessage(message);
        throw SilentAbort();
    };
    for (const RequiredNumber& number : t.required)
        if (q.value(number.column).isNull())
            refuse(number.missing);
    for (const PlaceColumn& place : t.places)
        if (place.required && q.value(place.column).isNull())
            refuse(QStringLiteral("Vyberte %1.").arg(place.noun));
}

void RecordRules::deleteWithCascade(Dataset& q, RecordKind kind) {
    const KindTable& t = kindTable(kind);
    const QString id = QString::number(q.integer(QStringLiteral("ID")));
    {
        // Both deletions or neither: a record never loses its change rows and stays.
        std::unique_ptr<SqliteTransaction> transaction;
        try {
            transaction = std::make_unique<SqliteTransaction>(m_dm.ADOConnection);
            m_dm.ExecuteStatement(QStringLiteral("DELETE FROM ") + t.changeTable +
                                  QStringLiteral(" WHERE ") + t.referenceColumn +
                                  QStringLiteral(" = ") + id);
        } catch (const DatabaseError&) {
            throw SilentAbort();
        }
        m_dm.ExecuteStatement(QStringLiteral("DELETE FROM ") + t.recordTable +
                              QStringLiteral(" WHERE ID = ") + id);
        transaction->commit();
    }
    DataFolder::removeRecursively(m_dm.dataFolder() + t.snapshotFolder + id);
    m_dm.Obnovit_Query(q);
    throw SilentAbort();
}

bool& RecordRules::newRecordInserted(RecordKind kind) {
    return this->*kindTable(kind).newRecordInserted;
}

void RecordRules::followWithHistory(Dataset& q, RecordKind kind) {
    Dataset& history = m_dm.historyQuery(kind);
    const int id = q.currentRow() >= 0 ? q.integer(QStringLiteral("ID")) : 0;
    history.setParam(QStringLiteral("par_id"), id);
    m_dm.Obnovit_Query(history);
}

// ---------------------------------------------------------------------------
// Parcels

void RecordRules::Parcely_QueryAfterInsert(Dataset& q) {
    q.setValue(QStringLiteral("user_id"), 1);
    q.setValue(QStringLiteral("typ_parcely"), QStringLiteral("PKN"));
    q.setValue(QStringLiteral("puvod_parcely"), 4);
    q.setValue(QStringLiteral("druh_cislovani"), 2);
    q.setValue(QStringLiteral("kontrolovat"), true);
    NewParcelInserted = true;
}

void RecordRules::Parcely_QueryAfterEdit(Dataset& q) {
    putOnPlaces(q, RecordKind::Parcel);
}

void RecordRules::Parcely_QueryBeforePost(Dataset& q) {
    m_editor.setStatusText(QStringLiteral("Ukládám záznam"));
    copyPlacesAndRequire(q, RecordKind::Parcel);
}

void RecordRules::Parcely_QueryAfterPost(Dataset&) {
    m_editor.clearSearchBox(SearchBox::KU_Hledat_1_Edit);
    m_editor.setStatusText(QString());
}

void RecordRules::Parcely_QueryAfterCancel(Dataset&) {
    NewParcelInserted = false;
    m_editor.clearSearchBox(SearchBox::KU_Hledat_1_Edit);
}

void RecordRules::Parcely_QueryBeforeDelete(Dataset& q) {
    deleteWithCascade(q, RecordKind::Parcel);
}

void RecordRules::Parcely_QueryAfterScroll(Dataset& q) {
    const QString type = q.currentRow() >= 0 ? q.text(QStringLiteral("typ_parcely")) : QString();
    m_editor.setOriginGroupEnabled(type != QLatin1String("PKN"));
    followWithHistory(q, RecordKind::Parcel);
}

// ---------------------------------------------------------------------------
// Buildings

void RecordRules::Stavby_QueryAfterInsert(Dataset& q) {
    insertBuildingDefaults(q);
    NewBuildingInserted = true;
}

void RecordRules::Stavby_QueryAfterEdit(Dataset& q) {
    putOnPlaces(q, RecordKind::Building);
}

void RecordRules::Stavby_QueryBeforePost(Dataset& q) {
    copyPlacesAndRequire(q, RecordKind::Building);
}

void RecordRules::Stavby_QueryAfterPost(Dataset&) {
    m_editor.clearSearchBox(SearchBox::Obec_Hledat_1_Edit);
}

void RecordRules::Stavby_QueryAfterCancel(Dataset&) {
    NewBuildingInserted = false;
    m_editor.clearSearchBox(SearchBox::Obec_Hledat_1_Edit);
}

void RecordRules::Stavby_QueryBeforeDelete(Dataset& q) {
    deleteWithCascade(q, RecordKind::Building);
}

void RecordRules::Stavby_QueryAfterScroll(Dataset& q) {
    followWithHistory(q, RecordKind::Building);
}

// ---------------------------------------------------------------------------
// Units

void RecordRules::Jednotky_QueryAfterInsert(Dataset& q) {
    insertBuildingDefaults(q);
    NewUnitInserted = true;
}

void RecordRules::Jednotky_QueryAfterEdit(Dataset& q) {
    putOnPlaces(q, RecordKind::Unit);
}

void RecordRules::Jednotky_QueryBeforePost(Dataset& q) {
    copyPlacesAndRequire(q, RecordKind::Unit);
}

void RecordRules::Jednotky_QueryAfterPost(Dataset&) {
    m_editor.clearSearchBox(SearchBox::Obec_Hledat_2_Edit);
}

void RecordRules::Jednotky_QueryAfterCancel(Dataset&) {
    NewUnitInserted = false;
    m_editor.clearSearchBox(SearchBox::Obec_Hledat_2_Edit);
}

void RecordRules::Jednotky_QueryBeforeDelete(Dataset& q) {
    deleteWithCascade(q, RecordKind::Unit);
}

void RecordRules::Jednotky_QueryAfterScroll(Dataset& q) {
    followWithHistory(q, RecordKind::Unit);
}

// ---------------------------------------------------------------------------
// Lookups and users

void RecordRules::Obce_QueryAfterScroll(Dataset& q) {
    Dataset& casti = m_dm.CastiObce_Query;
    casti.setParam(QStringLiteral("par_obec_kod"),
                   q.currentRow() >= 0 ? q.value(QStringLiteral("obec_kod")) : QVariant());
    m_dm.Obnovit_Query(casti);
}

void RecordRules::User_QueryAfterInsert(Dataset& q) {
    q.setValue(QStringLiteral("prihlasovat"), false);
}

} // namespace veritam
