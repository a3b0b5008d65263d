#pragma once

#include <QString>

namespace veritam {

/// What the record rules touch of the record editor window; the editor implements it.
class RecordEditorPort {
public:
    enum class SearchBox { KU_Hledat_1_Edit, Obec_Hledat_1_Edit, Obec_Hledat_2_Edit };

    virtual ~RecordEditorPort() = default;
    /// Empties the search box; its change action then lists all code-list rows again.
    virtual void clearSearchBox(SearchBox box) = 0;
    /// The editor's status line, repainted at once.
    virtual void setStatusText(const QString& text) = 0;
    /// The parcel-origin choice `DBRadioGroup5`.
    virtual void setOriginGroupEnabled(bool enabled) = 0;
};

/// For a data module that no editor shows: a check run, an import.
class NoRecordEditor : public RecordEditorPort {
public:
    void clearSearchBox(SearchBox) override {}
    void setStatusText(const QString&) override {}
    void setOriginGroupEnabled(bool) override {}
};

} // namespace veritam
