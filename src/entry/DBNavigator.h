#pragma once

#include <QIcon>
#include <QList>
#include <QWidget>

#include <array>
#include <functional>

class QToolButton;

namespace veritam {

class Dataset;
class UserMessages;

/// A record navigator on a record query: the buttons of the ten navigator actions, of which
/// the editor shows "Nový", "Smazat", "Upravit", "Ulož" and "Neukládat". A button carries its
/// action out on the query and, when the action completed, reports it with `clicked`; a
/// save refused by the record rules (SilentAbort) leaves the row in edit and reports nothing.
class DBNavigator : public QWidget {
    Q_OBJECT
public:
    /// The ten actions in the navigator's full order.
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };

    DBNavigator(Dataset& dataset, UserMessages& messages, QWidget* parent = nullptr);

    /// Captions by position ("První" … "Obnovit"), one glyph per button: emptied, and with
    /// `glyphs` the image of the same index, above the caption.
    void DecorateNavigator(const QList<QIcon>& images, bool glyphs);

    QToolButton* button(Button which) const { return m_buttons[which]; }
    /// Carries the action out as a click on its button does.
    void BtnClick(Button which);
    /// Asked before "Ulož"; a save it refuses does not happen (it has told the user why).
    void setPostGuard(std::function<bool()> guard) { m_postGuard = std::move(guard); }
    /// "Smazat záznam?" with Ano / Ne, No the default; true for Ano.
    static bool askToDelete(QWidget* parent);

signals:
    void clicked(DBNavigator::Button button);

private:
    void updateButtons();

    Dataset& m_dataset;
    UserMessages& m_messages;
    std::array<QToolButton*, 10> m_buttons{};
    std::function<bool()> m_postGuard;
};

} // namespace veritam
