#pragma once

#include "store/RecordEditorPort.h"

#include <QWidget>

namespace veritam {

/// The record editor. The record rules reach its search boxes, status line and origin
/// choice through RecordEditorPort.
class TInsert_Form : public QWidget, public RecordEditorPort {
    Q_OBJECT
public:
    explicit TInsert_Form(QWidget* parent = nullptr);

    void clearSearchBox(SearchBox box) override;
    void setStatusText(const QString& text) override;
    void setOriginGroupEnabled(bool enabled) override;

    QString statusText() const { return m_statusText; }
    bool originGroupEnabled() const { return m_originGroupEnabled; }

private:
    QString m_statusText;
    bool m_originGroupEnabled = false;
};

} // namespace veritam
