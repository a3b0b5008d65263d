#include "store/RecordKind.h"

#include "store/TDM1.h"

namespace veritam {

namespace {

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

std::vector<GridColumn>
columns(std::initializer_list<std::tuple<const char*, const char*, int>> list) {
    std::vector<GridColumn> result;
    for (const auto& [field, title, width] : list)
        result.push_back({u8(field), u8(title), width});
    return result;
}

const std::vector<Section> kWatched = {Section::Owners, Section::Protection, Section::Restrictions,
                                       Section::Other, Section::Proceedings};

std::vector<Section> withFirst(Section first) {
    std::vector<Section> result{first};
    result.insert(result.end(), kWatched.begin(), kWatched.end());
    return result;
}

// The selection statements run as they stand (two blanks before "and" in the later two).
KindTable parcel() {
    return {RecordKind::Parcel,
            u8("parcely"),
            u8("zmeny_parcel"),
            u8("id_parcely"),
            &TDM1::Parcely_Query,
            &TDM1::Parcely_DataSource,
            &TDM1::ZmenyParcel_Query,
            &TDM1::ZmenyParcel_DataSource,
            &RecordRules::NewParcelInserted,
            u8("parcela"),
            withFirst(Section::Area),
            u8("historie/parcely/parcela-id-"),
            u8("Změna u parcely ID "),
            u8(". Vlastní označení parcely "),
            u8("/VyberParcelu/Parcela/InformaceO"),
            {u8("uzemi"), u8("druh_cislovani"), u8("typ_parcely"), u8("puvod_parcely"),
             u8("cislo_1"), u8("cislo_2")},
            u8("UPDATE parcely SET zmeny = 0"),
            u8("SELECT parcely.* FROM parcely WHERE user_id = 1 and kontrolovat = true"),
            u8("Průběh kontroly - hotovo parcel "),
            u8("Procházím parcelu č. {label}"),
            true,
            u8("parcela č. {cislo_1} / {cislo_2}"),
            u8("Změna u parcely p. č. {label}, vlastní označení {nazev}"),
            u8("parcela {number}"),
            u8(", k. ú. {uzemi}"),
            u8("parcely"),
            u8("PARCELY"),
            0xFFFFC1,
            6,
            columns({{"ku_nazev", "Název k. ú.", 93},
                     {"uzemi", "Číslo území", 67},
                     {"nazev", "Vlastní název parcely", 165},
                     {"cele_cislo", "p. č.", 67},
                     {"posledni_kontrola", "Poslední kontrola", 110},
                     {"kontrolovat", "Kontrolováno", 71},
                     {"zmena_prevod", "Řízení", 0},
                     {"zmena_vymera", "Výměra", 0},
                     {"zmena_vlastnici", "Vlastníci", 46},
                     {"zmena_ochrana", "Ochrana", 52},
                     {"zmena_omezeni", "Omezení", 51},
                     {"zmena_jine", "Jiné", 35}}),
            u8("DBGrid1"),
            columns({{"ku_nazev", "Název k. ú.", 0},
                     {"uzemi", "Číslo území", 0},
                     {"nazev", "Vlastní název parcely", 0},
                     {"cele_cislo", "Označení parcely", 0}})};
}

KindTable building() {
    return {RecordKind::Building,
            u8("stavby"),
            u8("zmeny_staveb"),
            u8("id_stavby"),
            &TDM1::Stavby_Query,
            &TDM1::Stavby_DataSource,
            &TDM1::ZmenyStaveb_Query,
            &TDM1::ZmenySTaveb_DataSource,
            &RecordRules::NewBuildingInserted,
            u8("stavba"),
            kWatched,
            u8("historie/stavby/stavba-id-"),
            u8("Změna u stavby ID "),
            u8(". Vlastní označení stavby "),
            u8("/VyberBudovu/Stavba/InformaceO"),
            {u8("obec"), u8("cast_obce"), u8("typ_stavby"), u8("cislo_stavby")},
            u8("UPDATE stavby SET zmeny = 0"),
            u8("SELECT stavby.* FROM stavby WHERE user_id = 1  and kontrolovat = true"),
            u8("Průběh kontroly - parcely zcela hotové; stavby hotové "),
            u8("Procházím stavbu č. {cislo_stavby}"),
            true,
            u8("stavba vlastní označení {nazev}"),
            u8("Změna u stavby {cislo_stavby}, vlastní označení {nazev}"),
            u8("stavba č. {cislo_stavby}"),
            u8(", obec {obec}"),
            u8("stavby"),
            u8("STAVBY"),
            0xFFF2DF,
            6,
            columns({{"obec_nazev", "Obec", 93},
                     {"nazev_casti_obce", "Část obce", 67},
                     {"nazev", "Vlastní název stavby", 165},
                     {"cislo_stavby", "Číslo stavby", 67},
                     {"posledni_kontrola", "Poslední kontrola", 110},
                     {"kontrolovat", "Kontrolováno", 70},
                     {"zmena_prevod", "Řízení", 0},
                     {"zmena_vlastnici", "Vlastníci", 0},
                     {"zmena_ochrana", "Ochrana", 64},
                     {"zmena_omezeni", "Omezení", 64},
                     {"zmena_jine", "Jiné", 64}}),
            u8("DBGrid3"),
            columns({{"obec_nazev", "Název obce", 0},
                     {"nazev_casti_obce", "Část obce", 0},
                     {"nazev", "Vlastní název stavby", 0},
                     {"cislo_stavby", "Číslo stavby", 0},
                     {"typ_stavby_text", "Typ stavby", 0}})};
}

KindTable unit() {
    return {
        RecordKind::Unit,
        u8("jednotky"),
        u8("zmeny_jednotek"),
        u8("id_jednotky"),
        &TDM1::Jednotky_Query,
        &TDM1::Jednotky_DataSource,
        &TDM1::ZmenyJednotek_Query,
        &TDM1::ZmenyJednotek_DataSource,
        &RecordRules::NewUnitInserted,
        u8("jednotka"),
        withFirst(Section::Share),
        u8("historie/jednotky/jednotky-id-"),
        u8("Změna u jednotky ID "),
        u8(". Vlastní označení jednotky "),
        u8("/VyberBudovu/Jednotka/InformaceO"),
        {u8("obec"), u8("cast_obce"), u8("typ_stavby"), u8("cislo_stavby"), u8("cislo_jednotky")},
        u8("UPDATE jednotky SET zmeny = 0"),
        u8("SELECT jednotky.* FROM jednotky WHERE user_id = 1  and kontrolovat = true"),
        u8("Průběh kontroly - parcely zcela hotové; stavby zcela hotové; jednotky hotové "),
        u8("Procházím jednotku č. {cislo_stavby}/{cislo_jednotky}"),
        false,
        u8("jednotka vlastní označení {nazev}"),
        u8("Změna u jednotky {cislo_jednotky}, vlastní označení {nazev}"),
        u8("jednotka {cislo_stavby}/{cislo_jednotky}"),
        u8(", obec {obec}"),
        u8("jednotky"),
        u8("JEDNOTKY"),
        0xD9ECFF,
        7,
        columns({{"obec_nazev", "Obec", 93},
                 {"nazev_casti_obce", "Část obce", 67},
                 {"nazev", "Vlastní název jednotky", 165},
                 {"cislo_stavby", "Číslo stavby", 67},
                 {"cislo_jednotky", "Č. jednotky", 0},
                 {"posledni_kontrola", "Poslední kontrola", 110},
                 {"kontrolovat", "Kontrolováno", 0},
                 {"zmena_prevod", "Řízení", 0},
                 {"zmena_podil", "Podíl", 64},
                 {"zmena_vlastnici", "Vlastníci", 64},
                 {"zmena_ochrana", "Ochrana", 64},
                 {"zmena_omezeni", "Omezení", 64},
                 {"zmena_jine", "Jiné", 64}}),
        u8("DBGrid7"),
        columns({{"obec_nazev", "Název obce", 0},
                 {"nazev_casti_obce", "Část obce", 0},
                 {"nazev", "Vlastní název stavby", 0},
                 {"cislo_stavby", "Číslo stavby", 0},
                 {"cislo_jednotky", "Číslo jednotky", 0},
                 {"typ_stavby_text", "Typ stavby", 0}})};
}

} // namespace

const KindTable& kindTable(RecordKind kind) {
    static const KindTable tables[] = {parcel(), building(), unit()};
    return tables[static_cast<int>(kind)];
}

} // namespace veritam
