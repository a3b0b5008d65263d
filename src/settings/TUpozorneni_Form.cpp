#include "settings/TUpozorneni_Form.h"

#include "platform/IniFile.h"
#include "portal/PortalCredentials.h"
#include "portal/PortalSettings.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace veritam {

namespace {

const QString kSection = QStringLiteral("upozorneni");
const QString kShown = QStringLiteral("zobrazeno");

} // namespace

TUpozorneni_Form::TUpozorneni_Form(const QString& dataFolder, QWidget* parent)
    : QDialog(parent, Qt::Window)
    , m_dataFolder(dataFolder) {
    setObjectName(QStringLiteral("Upozorneni_Form"));
    setWindowTitle(QStringLiteral("Upozornění"));
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    Label5 = new QLabel(QStringLiteral("Není dovoleno vytěžování databáze automatizovanými "
                                       "prostředky. Používáte program na vlastní odpovědnost. "
                                       "Více informací viz"),
                        this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setWordWrap(true);
    Label5->setAlignment(Qt::AlignCenter);
    QFont bold = Label5->font();
    bold.setBold(true);
    Label5->setFont(bold);
    layout->addWidget(Label5);

    // An https address on the portal's viewer host, whichever host the settings name.
    QUrl terms(PortalSettings::load(dataFolder).viewerBase);
    if (terms.scheme() == QLatin1String("http"))
        terms.setScheme(QStringLiteral("https"));
    terms.setPath(QStringLiteral("/Napoveda/index.htm"));
    terms.setQuery(QStringLiteral("id=idh_podminkyuzivaniaplikace"));
    Label6 = new QLabel(terms.toString(), this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setAlignment(Qt::AlignCenter);
    Label6->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    Label6->setCursor(Qt::PointingHandCursor);
    Label6->setFocusPolicy(Qt::StrongFocus); // Enter or Space opens it, too
    Label6->installEventFilter(this);
    layout->addWidget(Label6);
    layout->addStretch();
    Rozumim_Button = new QPushButton(QStringLiteral("Rozumím"), this);
    Rozumim_Button->setObjectName(QStringLiteral("Rozumim_Button"));
    Rozumim_Button->setDefault(true);
    connect(Rozumim_Button, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(Rozumim_Button, 0, Qt::AlignCenter);
    resize(635, 299);
}

void TUpozorneni_Form::Label6Click() {
    QDesktopServices::openUrl(QUrl(Label6->text()));
}

bool TUpozorneni_Form::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label6) {
        const bool click = event->type() == QEvent::MouseButtonRelease;
        const bool key = event->type() == QEvent::KeyPress &&
                         (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                          static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space);
        if (click || key) {
            Label6Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TUpozorneni_Form::showBeforeFirstUse(bool unattended) {
    const QString file = PortalCredentials::settingsFile(m_dataFolder);
    if (IniFile::read(file, kSection, kShown) == QLatin1String("1"))
        return;
    try {
        IniFile::write(file, kSection, kShown, QStringLiteral("1"));
    } catch (const IniWriteError&) {
        // Shown again next time; no reason to keep the user from the portal.
    }
    Rozumim_Button->setFocus(); // Enter closes the notice; Tab reaches the link
    if (unattended) {
        show();
        return;
    }
    exec();
}

} // namespace veritam
