#pragma once

#include <QWebEngineView>

class QWebEngineProfile;

namespace veritam {

/// The browser in which the change history shows a snapshot. A snapshot is a copy of a
/// foreign page: it runs no scripts, and nothing it names is fetched unless it lies inside
/// the data folder (the two style sheets, pictures kept there); no request leaves the
/// machine when it is shown. The data folder's files come through an address scheme of
/// their own, served as UTF-8.
class SnapshotView : public QWebEngineView {
    Q_OBJECT
public:
    SnapshotView(const QString& dataFolder, QWidget* parent = nullptr);
    /// The address scheme of the data folder's files; before the application object exists.
    static void registerScheme();
    ~SnapshotView() override;

    /// Loads a local file (a snapshot; the data folder itself when the name is empty).
    void Navigate(const QString& localPath);
    QString shownPath() const { return m_shown; }

private:
    QWebEngineProfile* m_profile = nullptr;
    QString m_shown;
};

} // namespace veritam
