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

std::vector<PlaceColumn> municipalityAndPart(const char* municipalities, const char* parts) {
    return {{u8("obec"), &TDM1::Obce_Query, u8("obec_kod"), u8("obec_nazev"), u8("obec"),
             u8("Obec {value} není v číselníku."), true, u8(municipalities),
             columns({{"obec_nazev", "Obec", 0}, {"okres_nazev", "Okres", 0}})},
            {u8("cast_obce"), &TDM1::CastiObce_Query, u8("kod"), u8("nazev"), u8("část obce"),
             u8("Část obce {value} není v číselníku obce {obec}."), false, u8(parts),
             columns({{"nazev", "Část obce", 0}})}};
}

using Form = EditorField::Form;

EditorField number(const char* column, const char* label, const char* name, bool sameRow = false) {
    return {.column = u8(column),
            .label = u8(label),
            .form = Form::Number,
            .name = u8(name),
            .sameRow = sameRow};
}

EditorField text(const char* column, const char* label, const char* name) {
    return {.column = u8(column), .label = u8(label), .form = Form::Text, .name = u8(name)};
}

EditorField check(const char* name) {
    return {.column = u8("kontrolovat"),
            .label = u8("Kontrolovat"),
            .form = Form::Check,
            .name = u8(name)};
}

EditorField buildingType(const char* name) {
    return {.column = u8("typ_stavby"),
            .label = u8("Typ stavby:"),
            .form = Form::Choice,
            .name = u8(name),
            .choices = {u8("budova s číslem popisným"), u8("budova s číslem evidenčním")},
            .values = {1, 2},
            .choiceColumns = 2};
}

// The selection statements run as they stand (two blanks before "and" in the later two).
KindTable parcel() {
    return {
        .kind = RecordKind::Parcel,
        .recordTable = u8("parcely"),
        .changeTable = u8("zmeny_parcel"),
        .referenceColumn = u8("id_parcely"),
        .recordQuery = &TDM1::Parcely_Query,
        .recordSource = &TDM1::Parcely_DataSource,
        .historyQuery = &TDM1::ZmenyParcel_Query,
        .historySource = &TDM1::ZmenyParcel_DataSource,
        .newRecordInserted = &RecordRules::NewParcelInserted,
        .word = u8("parcela"),
        .required = {{u8("cislo_1"), u8("Chybí vyplnit číslo parcely.")}},
        // Without a territory the record would show in no list and fail every check.
        .places = {{u8("uzemi"), &TDM1::KatastralniUzemi_Query, u8("ku_kod"), u8("ku_nazev"),
                    u8("katastrální území"), u8("Katastrální území {value} není v číselníku."),
                    true, u8("KU1_DBGrid"),
                    columns({{"ku_nazev", "Název katastrálního území", 0},
                             {"okres_nazev", "Okres", 0}})}},
        .compared = withFirst(Section::Area),
        .snapshotFolder = u8("historie/parcely/parcela-id-"),
        .changeLogFirst = u8("Změna u parcely ID "),
        .changeLogSecond = u8(". Vlastní označení parcely "),
        .searchPath = u8("/VyberParcelu/Parcela/InformaceO"),
        .searchColumns = {u8("uzemi"), u8("druh_cislovani"), u8("typ_parcely"), u8("puvod_parcely"),
                          u8("cislo_1"), u8("cislo_2")},
        .resetStatement = u8("UPDATE parcely SET zmeny = 0"),
        .selectionStatement =
            u8("SELECT parcely.* FROM parcely WHERE user_id = 1 and kontrolovat = true"),
        .statusText = u8("Průběh kontroly - hotovo parcel "),
        .visitingLine = u8("Procházím parcelu č. {label}"),
        .pageLoadedLine = true,
        .failureRecord = u8("parcela č. {cislo_1} / {cislo_2}"),
        .summaryLine = u8("Změna u parcely p. č. {label}, vlastní označení {nazev}"),
        .description = u8("parcela {number}"),
        .place = u8(", k. ú. {uzemi}"),
        .progressName = u8("parcely"),
        .listCaption = u8("PARCELY"),
        .listColour = 0xFFFFC1,
        .switchColumn = 6,
        .columns = columns({{"ku_nazev", "Název k. ú.", 93},
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
        // A parcel without changes has nothing to show; a building or unit an empty list.
        .historyWhenEmpty = false,
        .editorNavigator = u8("Parcely_DBNavigator"),
        .editorSearch = u8("KU_Hledat_1_Edit"),
        .editorList = u8("DBGrid1"),
        .searchLabel = u8("Název katastrálního území:"),
        .searchHint = u8("část názvu, např. Benice"),
        .editorFields = {{.column = u8("typ_parcely"),
                          .label = u8("Typ parcely:"),
                          .form = Form::Choice,
                          .name = u8("DBRadioGroup4"),
                          .choices = {u8("Parcela katastru nemovitostí (KN)"),
                                      u8("Parcela zjednodušené evidence (ZE)")},
                          .values = {u8("PKN"), u8("PZE")},
                          .choiceColumns = 2},
                         {.column = u8("puvod_parcely"),
                          .label = u8("Původ parcely ZE:"),
                          .form = Form::Choice,
                          .name = u8("DBRadioGroup5"),
                          .choices = {u8("Evidence nemovitostí"), u8("Pozemkový katastr"),
                                      u8("Přídělový plán nebo jiný podklad")},
                          .values = {3, 4, 6},
                          .choiceColumns = 3},
                         {.column = u8("druh_cislovani"),
                          .label = u8("Druh číslování:"),
                          .form = Form::Choice,
                          .name = u8("DBRadioGroup1"),
                          .choices = {u8("stavební parcela"), u8("pozemková parcela")},
                          .values = {1, 2},
                          .choiceColumns = 2},
                         number("cislo_1", "Parcelní číslo:", "DBEdit2"),
                         number("cislo_2", "Číslo pododdělení:", "DBEdit3", true),
                         text("nazev", "Vlastní název:", "DBEdit4"),
                         check("DBCheckBox1")},
        .editorColumns = columns({{"ku_nazev", "Název k. ú.", 0},
                                  {"uzemi", "Číslo území", 0},
                                  {"nazev", "Vlastní název parcely", 0},
                                  {"cele_cislo", "Označení parcely", 0}}),
        .captureNote = {},
    };
}

KindTable building() {
    return {
        .kind = RecordKind::Building,
        .recordTable = u8("stavby"),
        .changeTable = u8("zmeny_staveb"),
        .referenceColumn = u8("id_stavby"),
        .recordQuery = &TDM1::Stavby_Query,
        .recordSource = &TDM1::Stavby_DataSource,
        .historyQuery = &TDM1::ZmenyStaveb_Query,
        .historySource = &TDM1::ZmenySTaveb_DataSource,
        .newRecordInserted = &RecordRules::NewBuildingInserted,
        .word = u8("stavba"),
        .required = {{u8("cislo_stavby"), u8("Chybí vyplnit číslo stavby.")}},
        .places = municipalityAndPart("DBGrid2", "DBGrid4"),
        .compared = kWatched,
        .snapshotFolder = u8("historie/stavby/stavba-id-"),
        .changeLogFirst = u8("Změna u stavby ID "),
        .changeLogSecond = u8(". Vlastní označení stavby "),
        .searchPath = u8("/VyberBudovu/Stavba/InformaceO"),
        .searchColumns = {u8("obec"), u8("cast_obce"), u8("typ_stavby"), u8("cislo_stavby")},
        .resetStatement = u8("UPDATE stavby SET zmeny = 0"),
        .selectionStatement =
            u8("SELECT stavby.* FROM stavby WHERE user_id = 1  and kontrolovat = true"),
        .statusText = u8("Průběh kontroly - parcely zcela hotové; stavby hotové "),
        .visitingLine = u8("Procházím stavbu č. {cislo_stavby}"),
        .pageLoadedLine = true,
        .failureRecord = u8("stavba vlastní označení {nazev}"),
        .summaryLine = u8("Změna u stavby {cislo_stavby}, vlastní označení {nazev}"),
        .description = u8("stavba č. {cislo_stavby}"),
        .place = u8(", obec {obec}"),
        .progressName = u8("stavby"),
        .listCaption = u8("STAVBY"),
        .listColour = 0xFFF2DF,
        .switchColumn = 6,
        .columns = columns({{"obec_nazev", "Obec", 93},
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
        .historyWhenEmpty = true,
        .editorNavigator = u8("Stavby_DBNavigator"),
        .editorSearch = u8("Obec_Hledat_1_Edit"),
        .editorList = u8("DBGrid3"),
        .searchLabel = u8("Název obce:"),
        .searchHint = u8("část názvu, např. Praha"),
        .editorFields = {buildingType("DBRadioGroup2"),
                         number("cislo_stavby", "Číslo stavby:", "DBEdit1"),
                         text("nazev", "Vlastní název:", "DBEdit6"), check("DBCheckBox2")},
        .editorColumns = columns({{"obec_nazev", "Název obce", 0},
                                  {"nazev_casti_obce", "Část obce", 0},
                                  {"nazev", "Vlastní název stavby", 0},
                                  {"cislo_stavby", "Číslo stavby", 0},
                                  {"typ_stavby_text", "Typ stavby", 0}}),
        .captureNote = {},
    };
}

KindTable unit() {
    return {
        .kind = RecordKind::Unit,
        .recordTable = u8("jednotky"),
        .changeTable = u8("zmeny_jednotek"),
        .referenceColumn = u8("id_jednotky"),
        .recordQuery = &TDM1::Jednotky_Query,
        .recordSource = &TDM1::Jednotky_DataSource,
        .historyQuery = &TDM1::ZmenyJednotek_Query,
        .historySource = &TDM1::ZmenyJednotek_DataSource,
        .newRecordInserted = &RecordRules::NewUnitInserted,
        .word = u8("jednotka"),
        .required = {{u8("cislo_stavby"), u8("Chybí vyplnit číslo stavby.")},
                     {u8("cislo_jednotky"), u8("Chybí vyplnit číslo jednotky.")}},
        .places = municipalityAndPart("DBGrid5", "DBGrid6"),
        .compared = withFirst(Section::Share),
        .snapshotFolder = u8("historie/jednotky/jednotky-id-"),
        .changeLogFirst = u8("Změna u jednotky ID "),
        .changeLogSecond = u8(". Vlastní označení jednotky "),
        .searchPath = u8("/VyberBudovu/Jednotka/InformaceO"),
        .searchColumns = {u8("obec"), u8("cast_obce"), u8("typ_stavby"), u8("cislo_stavby"),
                          u8("cislo_jednotky")},
        .resetStatement = u8("UPDATE jednotky SET zmeny = 0"),
        .selectionStatement =
            u8("SELECT jednotky.* FROM jednotky WHERE user_id = 1  and kontrolovat = true"),
        .statusText =
            u8("Průběh kontroly - parcely zcela hotové; stavby zcela hotové; jednotky hotové "),
        .visitingLine = u8("Procházím jednotku č. {cislo_stavby}/{cislo_jednotky}"),
        .pageLoadedLine = false,
        .failureRecord = u8("jednotka vlastní označení {nazev}"),
        .summaryLine = u8("Změna u jednotky {cislo_jednotky}, vlastní označení {nazev}"),
        .description = u8("jednotka {cislo_stavby}/{cislo_jednotky}"),
        .place = u8(", obec {obec}"),
        .progressName = u8("jednotky"),
        .listCaption = u8("JEDNOTKY"),
        .listColour = 0xD9ECFF,
        .switchColumn = 7,
        .columns = columns({{"obec_nazev", "Obec", 93},
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
        .historyWhenEmpty = true,
        .editorNavigator = u8("Jednotky_DBNavigator"),
        .editorSearch = u8("Obec_Hledat_2_Edit"),
        .editorList = u8("DBGrid7"),
        .searchLabel = u8("Název obce:"),
        .searchHint = u8("část názvu, např. Praha"),
        .editorFields = {buildingType("DBRadioGroup3"),
                         number("cislo_stavby", "Číslo stavby:", "DBEdit5"),
                         number("cislo_jednotky", "Číslo jednotky:", "DBEdit8"),
                         text("nazev", "Vlastní název:", "DBEdit7"), check("DBCheckBox3")},
        .editorColumns = columns({{"obec_nazev", "Název obce", 0},
                                  {"nazev_casti_obce", "Část obce", 0},
                                  {"nazev", "Vlastní název stavby", 0},
                                  {"cislo_stavby", "Číslo stavby", 0},
                                  {"cislo_jednotky", "Číslo jednotky", 0},
                                  {"typ_stavby_text", "Typ stavby", 0}}),
        .captureNote = u8("Na stránce jednotky chybí obec a část obce. Tyto údaje je třeba "
                          "vyplnit ručně."),
    };
}

} // namespace

const KindTable& kindTable(RecordKind kind) {
    static const KindTable tables[] = {parcel(), building(), unit()};
    return tables[static_cast<int>(kind)];
}

} // namespace veritam
