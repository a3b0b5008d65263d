#include "entry/DBNavigator.h"

#include "platform/UserMessages.h"
#include "store/DatabaseError.h"
#include "store/Dataset.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QToolButton>

namespace veritam {

namespace {

const std::array<const char*, 10> kCaptions = {"První",     "Předchozí", "Další",   "Poslední",
                                               "Nový",      "Smazat",    "Upravit", "Ulož",
                                               "Neukládat", "Obnovit"};

} // namespace

DBNavigator::DBNavigator(Dataset& dataset, UserMessages& messages, QWidget* parent)
    : QWidget(parent)
    , m_dataset(dataset)
    , m_messages(messages) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (int i = 0; i < 10; ++i) {
        auto* b = new QToolButton(this);
        b->setText(QString::fromUtf8(kCaptions[static_cast<std::size_t>(i)]));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b->setFocusPolicy(Qt::TabFocus);
        const auto which = static_cast<Button>(i);
        connect(b, &QToolButton::clicked, this, [this, which] { BtnClick(which); });
        // The editor works with these five; moving along the list is the grid's job.
        b->setVisible(which >= Insert && which <= Cancel);
        layout->addWidget(b);
        m_buttons[static_cast<std::size_t>(i)] = b;
    }
    setFixedHeight(52);
    for (auto signal : {&Dataset::stateChanged, &Dataset::wasReset})
        connect(&dataset, signal, this, &DBNavigator::updateButtons);
    connect(&dataset, &Dataset::currentRowChanged, this, &DBNavigator::updateButtons);
    updateButtons();
}

void DBNavigator::DecorateNavigator(const QList<QIcon>& images, bool glyphs) {
    for (int i = 0; i < 10; ++i) {
        QToolButton* b = m_buttons[static_cast<std::size_t>(i)];
        b->setText(QString::fromUtf8(kCaptions[static_cast<std::size_t>(i)]));
        b->setIcon(glyphs ? images.value(i) : QIcon());
        b->setIconSize(QSize(22, 22));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    }
}

void DBNavigator::BtnClick(Button which) {
    if (!m_buttons[which]->isEnabled())
        return;
    try {
        switch (which) {
        case First:
            m_dataset.setCurrentRow(0);
            break;
        case Prior:
            m_dataset.setCurrentRow(std::max(0, m_dataset.currentRow() - 1));
            break;
        case Next:
            m_dataset.next();
            break;
        case Last:
            m_dataset.setCurrentRow(m_dataset.recordCount() - 1);
            break;
        case Insert:
            m_dataset.insert();
            break;
        case Delete:
            if (!askToDelete(window()))
                return;
            m_dataset.deleteRecord();
            break;
        case Edit:
            m_dataset.edit();
            break;
        case Post:
            if (m_postGuard && !m_postGuard())
                return;
            m_dataset.post();
            break;
        case Cancel:
            m_dataset.cancel();
            break;
        case Refresh:
            m_dataset.requery();
            break;
        }
    } catch (const SilentAbort&) {
        return; // a rule refused, or did the deletion itself; it has said what it had to say
    } catch (const DatabaseError& e) {
        m_messages.showError(e.message());
        return;
    }
    emit clicked(which);
}

bool DBNavigator::askToDelete(QWidget* parent) {
    return QMessageBox::question(parent, parent->windowTitle(), QStringLiteral("Smazat záznam?"),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void DBNavigator::updateButtons() {
    const bool editing = m_dataset.isEditing();
    const bool open = m_dataset.isOpen();
    const bool onRow = open && m_dataset.currentRow() >= 0;
    for (Button b : {First, Prior, Next, Last, Delete, Edit, Refresh})
        m_buttons[b]->setEnabled(onRow && !editing);
    m_buttons[Refresh]->setEnabled(open && !editing);
    m_buttons[Insert]->setEnabled(open && !editing);
    m_buttons[Post]->setEnabled(editing);
    m_buttons[Cancel]->setEnabled(editing);
}

} // namespace veritam
