#include "settings/TAuto_Form.h"

#include "platform/UserMessages.h"
#include "settings/DailySchedule.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace veritam {

TAuto_Form::TAuto_Form(UserMessages& messages, QString dataFolder, QWidget* parent)
    : QDialog(parent, Qt::Window)
    , m_messages(messages)
    , m_dataFolder(std::move(dataFolder)) {
    setObjectName(QStringLiteral("Auto_Form"));
    setWindowTitle(QStringLiteral("Automatická kontrola"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Spustit automatickou kontrolu každý den v:"), this), 0, 0, 1, 5);
    layout->addWidget(new QLabel(QStringLiteral("Hodina"), this), 1, 0);
    Edit1 = new QLineEdit(QStringLiteral("09"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(QStringLiteral("00"), this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    for (QLineEdit* e : {Edit1, Edit2}) {
        e->setMaxLength(2);
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
    }
    layout->addWidget(Edit1, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral(":"), this), 1, 2);
    layout->addWidget(Edit2, 1, 3);
    layout->setColumnStretch(4, 1);
    Button1 = new QPushButton(QStringLiteral("Naplánovat"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    layout->addWidget(Button1, 2, 0, 1, 5);
    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    layout->addWidget(separator, 3, 0, 1, 5);
    Button2 = new QPushButton(QStringLiteral("Plánovač úloh"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    layout->addWidget(Button2, 4, 0, 1, 5);
    connect(Button1, &QPushButton::clicked, this, &TAuto_Form::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TAuto_Form::Button2Click);
    resize(357, sizeHint().height());
}

void TAuto_Form::Button1Click() {
    for (QLineEdit* e : {Edit1, Edit2})
        if (e->text().size() == 1)
            e->setText(u'0' + e->text());
    const std::optional<DailySchedule::Time> time =
        DailySchedule::Time::parse(Edit1->text(), Edit2->text());
    if (!time) {
        // Refused before anything is removed: the earlier plan stays as it was.
        m_messages.showMessage(QStringLiteral("Čas %1:%2 neplatí. Zadejte hodinu 0–23 a minutu "
                                              "0–59; dosavadní naplánování zůstává beze změny.")
                                   .arg(Edit1->text(), Edit2->text()));
        return;
    }
    const DailySchedule daily(QCoreApplication::applicationFilePath(), m_dataFolder);
    if (!DailySchedule::userManagerRuns()) {
        m_messages.showMessage(
            QStringLiteral("Pro tohoto uživatele neběží systemd, časovač proto nelze nastavit.\r\n"
                           "Automatickou kontrolu lze naplánovat v crontabu (příkaz crontab -e) "
                           "tímto řádkem:\r\n\r\n") +
            daily.crontabLine(*time));
        return;
    }
    m_messages.showMessage(
        QStringLiteral("Bude nastaven časovač systemd veritam-schedule.timer, který program "
                       "spustí každý den v %1 s automatickou kontrolou.\r\nDosavadní časovač se "
                       "nahradí.\r\n\r\nNíže máte možnost zobrazit jeho stav nebo jej zrušit.")
            .arg(time->text()));
    if (const QString failed = daily.plan(*time); !failed.isEmpty()) {
        m_messages.showError(failed);
        return;
    }
    m_messages.showMessage(DailySchedule::state());
}

void TAuto_Form::Button2Click() {
    const QString state = DailySchedule::state();
    if (state.startsWith(QStringLiteral("Automatická kontrola není"))) {
        m_messages.showMessage(state);
        return;
    }
    if (QMessageBox::question(
            this, windowTitle(), state + QStringLiteral("\n\nZrušit naplánovanou kontrolu?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    if (const QString failed = DailySchedule::remove(); !failed.isEmpty())
        m_messages.showError(failed);
    else
        m_messages.showMessage(QStringLiteral("Automatická kontrola už není naplánována."));
}

} // namespace veritam
