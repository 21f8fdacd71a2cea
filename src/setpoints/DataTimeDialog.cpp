#include "DataTimeDialog.h"

#include "SetpointRules.h"
#include "common/UserPrompt.h"
#include "model/ConfigModel.h"
#include "shell/Markup.h"
#include "shell/MarkupLabel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

using namespace setpoints;

namespace {

constexpr int kClockInterval = 1000;
constexpr int kDefaultTimeZone = 3;
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

QTimeEdit* TimePicker(QWidget* parent, const QString& format, const QString& objectName)
{
    auto* picker = new QTimeEdit(parent);
    picker->setDisplayFormat(format);
    picker->setObjectName(objectName);
    return picker;
}

QDateEdit* DatePicker(QWidget* parent, const QString& objectName)
{
    auto* picker = new QDateEdit(parent);
    picker->setDisplayFormat(kDateFormat);
    picker->setObjectName(objectName);
    return picker;
}

} // namespace

CDataTimeDialog::CDataTimeDialog(QWidget* parent)
    : CSetpointSubPage(parent)
    , m_prompt(this)
{
    setObjectName(QStringLiteral("CDataTimeDialog"));

    // Load periods: four rows "T~пик n~" start "---" end.
    auto* periods = new QGroupBox(QStringLiteral("Время начала/окончания нагрузок (чч:мм)"), this);
    auto* periodGrid = new QGridLayout(periods);
    periodGrid->setHorizontalSpacing(10);
    for (int row = 0; row < 4; ++row) {
        const QByteArray markup = MarkupBytes(QStringLiteral("T~пик %1~").arg(row + 1).toUtf8().constData());
        const QString name = MarkupPlainText(markup);
        periodGrid->addWidget(new CMarkupLabel(markup, periods), row, 0, Qt::AlignVCenter);
        for (int end = 0; end < 2; ++end) {
            const int index = row * 2 + end;
            QTimeEdit* picker = TimePicker(periods, QStringLiteral("HH:mm"), QStringLiteral("loadPeriod%1").arg(index));
            // The minute settles on a half hour when the picker is left or stepped.
            picker->setKeyboardTracking(false);
            picker->setWrapping(true);
            NameControl(picker, name + (end ? QStringLiteral(": окончание") : QStringLiteral(": начало")));
            periodGrid->addWidget(picker, row, 1 + end * 2);
            m_periods[size_t(index)] = picker;
            connect(picker, &QTimeEdit::timeChanged, this, [this, index] { OnPeriodChanged(index); });
        }
        periodGrid->addWidget(new QLabel(QStringLiteral("---"), periods), row, 2, Qt::AlignCenter);
    }
    periodGrid->setColumnStretch(4, 1);

    // The clock: its group's title is the "Запись времени и даты" box.
    m_writeTimeBox = new QGroupBox(QStringLiteral("Запись времени и даты"), this);
    m_writeTimeBox->setObjectName(QStringLiteral("writeTime"));
    m_writeTimeBox->setCheckable(true);
    m_writeTimeBox->setChecked(false);
    auto* clockForm = new QGridLayout(m_writeTimeBox);
    auto* timeLabel = new QLabel(QStringLiteral("Время:"), m_writeTimeBox);
    m_clockTime = TimePicker(m_writeTimeBox, QStringLiteral("HH:mm:ss"), QStringLiteral("clockTime"));
    NameControl(m_clockTime, timeLabel->text(), timeLabel);
    auto* dateLabel = new QLabel(QStringLiteral("Дата:"), m_writeTimeBox);
    m_clockDate = DatePicker(m_writeTimeBox, QStringLiteral("clockDate"));
    // The meter keeps the year as year - 2000 in one byte.
    m_clockDate->setDateRange(QDate(2000, 1, 1), QDate(2255, 12, 31));
    NameControl(m_clockDate, dateLabel->text(), dateLabel);
    auto* zoneLabel = new QLabel(QStringLiteral("Часовой пояс:"), m_writeTimeBox);
    m_timeZone = new QComboBox(m_writeTimeBox);
    m_timeZone->setObjectName(QStringLiteral("timeZone"));
    for (int hours = 0; hours < kTimeZoneEntries; ++hours)
        m_timeZone->addItem(QStringLiteral("UTC+%1").arg(hours, 2, 10, QLatin1Char('0')));
    NameControl(m_timeZone, zoneLabel->text(), zoneLabel);
    auto* pcTimeLabel = new QLabel(QStringLiteral("Использовать дату и время компьютера"), m_writeTimeBox);
    m_usePcTime = new QCheckBox(m_writeTimeBox);
    m_usePcTime->setObjectName(QStringLiteral("usePcTime"));
    NameControl(m_usePcTime, pcTimeLabel->text(), pcTimeLabel);
    clockForm->addWidget(timeLabel, 0, 0);
    clockForm->addWidget(m_clockTime, 0, 1);
    clockForm->addWidget(dateLabel, 1, 0);
    clockForm->addWidget(m_clockDate, 1, 1);
    clockForm->addWidget(zoneLabel, 2, 0);
    clockForm->addWidget(m_timeZone, 2, 1);
    auto* pcTimeRow = new QHBoxLayout;
    pcTimeRow->addWidget(pcTimeLabel);
    pcTimeRow->addWidget(m_usePcTime);
    pcTimeRow->addStretch();
    clockForm->addLayout(pcTimeRow, 3, 0, 1, 3);
    clockForm->setColumnStretch(2, 1);

    auto* corrections = new QGroupBox(QStringLiteral("Коррекция времени"), this);
    auto* correctionForm = new QFormLayout(corrections);
    const QString correctionLabels[] = {QStringLiteral("Автоматическая коррекция, с"),
                                        QStringLiteral("Программная коррекция, с")};
    const char* const correctionNames[] = {"autoCorrection", "softCorrection"};
    const int limits[] = {8, 20};
    for (int i = 0; i < 2; ++i) {
        auto* label = new QLabel(correctionLabels[i], corrections);
        auto* edit = new QLineEdit(corrections);
        edit->setObjectName(QString::fromLatin1(correctionNames[i]));
        edit->setFixedWidth(60);
        NameControl(edit, label->text(), label);
        correctionForm->addRow(label, edit);
        m_corrections[size_t(i)] = Correction{edit, -limits[i], limits[i], 0};
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, [this] { MarkUserChange(m_programUpdate); });
    }

    auto* stopIcon = new QLabel(this);
    stopIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    auto* stopText = new QLabel(QStringLiteral("Запись даты и времени возможна только в режиме СТОП."), this);
    stopText->setObjectName(QStringLiteral("stopNotice"));
    stopText->setWordWrap(true);
    auto* stopRow = new QHBoxLayout;
    stopRow->addWidget(stopIcon, 0, Qt::AlignTop);
    stopRow->addWidget(stopText, 1);

    // Winter and summer changes: a radio pair, each radio with its picker beside it.
    const QString changeTitles[] = {QStringLiteral("Зимнее время"), QStringLiteral("Летнее время")};
    const char* const changeNames[] = {"winter", "summer"};
    const QString choices[] = {QStringLiteral("Ручной ввод"), QStringLiteral("Автоматически")};
    QGroupBox* changeBoxes[2] = {};
    for (int c = 0; c < 2; ++c) {
        auto* box = new QGroupBox(changeTitles[c], this);
        auto* grid = new QGridLayout(box);
        Change& change = m_changes[size_t(c)];
        change.radios = new QButtonGroup(box);
        for (int choice = 0; choice < 2; ++choice) {
            auto* radio = new QRadioButton(choices[choice], box);
            const QString name = QStringLiteral("%1%2").arg(QLatin1String(changeNames[c]),
                                                              choice ? QStringLiteral("Auto") : QStringLiteral("Manual"));
            radio->setObjectName(name + QStringLiteral("Radio"));
            // The two groups carry the same two choices.
            NameControl(radio, changeTitles[c] + QStringLiteral(": ") + choices[choice]);
            QDateEdit* picker = DatePicker(box, name + QStringLiteral("Date"));
            NameControl(picker, changeTitles[c] + QStringLiteral(": ") + choices[choice]);
            change.radios->addButton(radio, choice);
            grid->addWidget(radio, choice, 0);
            grid->addWidget(picker, choice, 1);
            (choice ? change.automatic : change.manual) = picker;
        }
        // The automatic date is the meter's own: shown, never taken back.
        change.automatic->setReadOnly(true);
        change.automatic->setButtonSymbols(QAbstractSpinBox::NoButtons);
        grid->setColumnStretch(2, 1);
        connect(change.radios, &QButtonGroup::idClicked, this, [this, c](int choice) {
            m_changes[size_t(c)].manual->setEnabled(choice == 0);
            MarkUserChange(m_programUpdate);
        });
        connect(change.manual, &QDateEdit::dateChanged, this, [this] { MarkUserChange(m_programUpdate); });
        changeBoxes[c] = box;
    }

    auto* modeLabel = new QLabel(QStringLiteral("Режим перехода:"), this);
    m_dstMode = new QComboBox(this);
    m_dstMode->setObjectName(QStringLiteral("dstMode"));
    m_dstMode->addItems({QStringLiteral("Всегда летнее (+1)"), QStringLiteral("Всегда зимнее"),
                         QStringLiteral("Сезонное время")});
    NameControl(m_dstMode, modeLabel->text(), modeLabel);
    auto* weekLabel = new QLabel(QStringLiteral("День начала недели:"), this);
    m_weekStart = new QComboBox(this);
    m_weekStart->setObjectName(QStringLiteral("weekStart"));
    m_weekStart->addItems({QStringLiteral("Понедельник"), QStringLiteral("Вторник"), QStringLiteral("Среда"),
                           QStringLiteral("Четверг"), QStringLiteral("Пятница"), QStringLiteral("Суббота"),
                           QStringLiteral("Воскресенье")});
    NameControl(m_weekStart, weekLabel->text(), weekLabel);
    auto* dayLabel = new QLabel(QStringLiteral("Час начала суток:"), this);
    m_dayStart = TimePicker(this, QStringLiteral("HH"), QStringLiteral("dayStart"));
    NameControl(m_dayStart, dayLabel->text(), dayLabel);
    auto* lists = new QFormLayout;
    lists->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    lists->addRow(modeLabel, m_dstMode);
    lists->addRow(weekLabel, m_weekStart);
    lists->addRow(dayLabel, m_dayStart);

    auto* left = new QVBoxLayout;
    left->addWidget(periods);
    left->addWidget(m_writeTimeBox);
    left->addWidget(corrections);
    left->addLayout(stopRow);
    auto* right = new QVBoxLayout;
    right->addWidget(changeBoxes[0]);
    right->addWidget(changeBoxes[1]);
    right->addLayout(lists);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addSpacing(16);
    columns->addLayout(right);
    SetPageContent(this, columns);

    m_clockTimer = new QTimer(this);
    m_clockTimer->setInterval(kClockInterval);
    connect(m_clockTimer, &QTimer::timeout, this, &CDataTimeDialog::OnClockTimer);

    connect(m_writeTimeBox, &QGroupBox::toggled, this, [this](bool ticked) {
        for (QWidget* w : ClockControls())
            w->setEnabled(ticked);
        MarkUserChange(m_programUpdate);
    });
    connect(m_usePcTime, &QCheckBox::clicked, this, &CDataTimeDialog::OnUsePcTimeClicked);
    connect(m_clockTime, &QTimeEdit::timeChanged, this, [this] { MarkUserChange(m_programUpdate); });
    connect(m_clockDate, &QDateEdit::dateChanged, this, [this] { MarkUserChange(m_programUpdate); });
    for (QComboBox* list : {m_timeZone, m_dstMode, m_weekStart})
        connect(list, &QComboBox::currentIndexChanged, this, [this] { MarkUserChange(m_programUpdate); });
    connect(m_dayStart, &QTimeEdit::timeChanged, this, [this] { MarkUserChange(m_programUpdate); });

    // Before the first load: the clock request is off, the computer's-time box and the zone
    // list are disabled, and the zone list shows UTC+03.
    ProgramUpdate initial(m_programUpdate);
    m_timeZone->setCurrentIndex(kDefaultTimeZone);
    m_clockTime->setEnabled(true);
    m_clockDate->setEnabled(true);
    m_usePcTime->setEnabled(false);
    m_timeZone->setEnabled(false);
    for (Correction& correction : m_corrections)
        correction.edit->setText(QString::number(correction.value));
}

bool CDataTimeDialog::WriteTimeTicked() const
{
    return m_writeTimeBox->isChecked();
}

std::array<QWidget*, 4> CDataTimeDialog::ClockControls() const
{
    return {m_usePcTime, m_clockTime, m_clockDate, m_timeZone};
}

QAbstractButton* CDataTimeDialog::ChangeRadio(int change, int choice) const
{
    return m_changes[size_t(change)].radios->button(choice);
}

QDateEdit* CDataTimeDialog::ChangePicker(int change, int choice) const
{
    return choice ? m_changes[size_t(change)].automatic : m_changes[size_t(change)].manual;
}

bool CDataTimeDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && !m_checking) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // A menu or another window taking the focus is no leaving of the field.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            // Checked once the focus has settled: a message box in the middle of a focus
            // change would take the focus from whatever is receiving it.
            for (int i = 0; i < int(m_corrections.size()); ++i) {
                if (m_corrections[size_t(i)].edit == watched) {
                    QTimer::singleShot(0, this, [this, i] {
                        Correction& correction = m_corrections[size_t(i)];
                        if (!CheckCorrection(correction))
                            correction.edit->setFocus(Qt::OtherFocusReason);
                    });
                }
            }
        }
    }
    return CSetpointSubPage::eventFilter(watched, event);
}

bool CDataTimeDialog::CheckCorrection(Correction& correction)
{
    const IntegerCheck check = CheckIntegerText(correction.edit->text(), correction.low, correction.high);
    if (check.value) {
        correction.value = *check.value;
        return true;
    }
    // The message box takes the focus; that is no second leaving of the field.
    m_checking = true;
    m_prompt.Get().Notice(check.message);
    m_checking = false;
    return false;
}

void CDataTimeDialog::OnPeriodChanged(int index)
{
    if (m_programUpdate)
        return;
    QTimeEdit* picker = m_periods[size_t(index)];
    const QTime time = picker->time();
    const int minute = SnapLoadPeriodMinute(time.minute());
    if (minute != time.minute()) {
        ProgramUpdate update(m_programUpdate);
        picker->setTime(QTime(time.hour(), minute));
    }
    MarkUserChange(m_programUpdate);
}

void CDataTimeDialog::OnUsePcTimeClicked(bool ticked)
{
    MarkUserChange(m_programUpdate);
    if (!ticked) {
        m_clockTimer->stop();
        return;
    }
    {
        ProgramUpdate update(m_programUpdate);
        SetListIndex(m_timeZone, TimeZoneIndexFromBias(ComputerTimeZoneBias()));
    }
    m_clockTimer->start();
}

void CDataTimeDialog::OnClockTimer()
{
    ShowClock(m_now ? m_now() : QDateTime::currentDateTime());
}

void CDataTimeDialog::ShowClock(const QDateTime& now)
{
    ProgramUpdate programUpdate(m_programUpdate);
    m_clockTime->setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    m_clockDate->setDate(now.date());
    update();
}

void CDataTimeDialog::LoadChange(Change& change, int automatic, int month, int day)
{
    const QDate date = ChangeDate(QDate::currentDate().year(), month, day);
    change.manual->setEnabled(automatic != 1);
    // The manual picker is what is stored in either mode; showing the model's date in it
    // too keeps the date as it came when the page is stored unchanged.
    if (date.isValid()) {
        change.manual->setDate(date);
        if (automatic == 1)
            change.automatic->setDate(date);
    }
}

void CDataTimeDialog::ExchangeWithModel(ConfigModel& model, int direction)
{
    if (direction == 1) {
        ProgramUpdate update(m_programUpdate);
        m_corrections[0].value = model.auto_correction_s;
        m_corrections[1].value = model.soft_correction_s;
        for (Correction& correction : m_corrections)
            correction.edit->setText(QString::number(correction.value));
        const QDate clockDate(model.set_year, model.set_month, model.set_day);
        if (clockDate.isValid())
            m_clockDate->setDate(clockDate);
        const QTime clockTime(model.set_hour, model.set_minute, model.set_second);
        if (clockTime.isValid())
            m_clockTime->setTime(clockTime);
        SetListIndex(m_timeZone, model.time_zone);
        SetListIndex(m_dstMode, model.dst_mode);
        SetChoice(m_changes[0].radios, model.winter_auto);
        SetChoice(m_changes[1].radios, model.summer_auto);
        LoadChange(m_changes[0], model.winter_auto, model.winter_month, model.winter_day);
        LoadChange(m_changes[1], model.summer_auto, model.summer_month, model.summer_day);
        for (int i = 0; i < 8; ++i) {
            const QTime time(model.load_period_hour[size_t(i)], model.load_period_minute[size_t(i)]);
            if (time.isValid())
                m_periods[size_t(i)]->setTime(time);
        }
        SetListIndex(m_weekStart, WeekStartIndex(model.week_start_day));
        const QTime dayStart(model.day_start_hour, 0);
        if (dayStart.isValid())
            m_dayStart->setTime(dayStart);
        // The clock request is one-shot: every load withdraws it.
        model.use_pc_time = 0;
        if (m_usePcTime->isChecked()) {
            m_clockTimer->stop();
            m_usePcTime->setChecked(false);
        }
        m_writeTimeBox->setChecked(false);
        // The controls follow the request as it came, before it is withdrawn.
        for (QWidget* w : ClockControls())
            w->setEnabled(model.write_time == 1);
        model.write_time = 0;
        return;
    }
    for (Correction& correction : m_corrections)
        CheckCorrection(correction);
    model.soft_correction_s = m_corrections[1].value;
    model.auto_correction_s = m_corrections[0].value;
    const QDate clockDate = m_clockDate->date();
    model.set_year = clockDate.year();
    model.set_month = clockDate.month();
    model.set_day = clockDate.day();
    const QTime clockTime = m_clockTime->time();
    model.set_second = clockTime.second();
    model.set_minute = clockTime.minute();
    model.set_hour = clockTime.hour();
    if (m_timeZone->currentIndex() >= 0)
        model.time_zone = quint8(m_timeZone->currentIndex());
    if (m_dstMode->currentIndex() >= 0)
        model.dst_mode = quint8(m_dstMode->currentIndex());
    const QDate summer = m_changes[1].manual->date();
    model.summer_month = summer.month();
    model.summer_day = summer.day();
    const QDate winter = m_changes[0].manual->date();
    model.winter_month = winter.month();
    model.winter_day = winter.day();
    if (m_changes[0].radios->checkedId() >= 0)
        model.winter_auto = quint8(m_changes[0].radios->checkedId());
    if (m_changes[1].radios->checkedId() >= 0)
        model.summer_auto = quint8(m_changes[1].radios->checkedId());
    for (int i = 0; i < 8; ++i) {
        const QTime time = m_periods[size_t(i)]->time();
        model.load_period_minute[size_t(i)] = time.minute();
        model.load_period_hour[size_t(i)] = time.hour();
    }
    const int weekDay = WeekStartDay(m_weekStart->currentIndex());
    if (weekDay >= 0)
        model.week_start_day = weekDay;
    model.day_start_hour = m_dayStart->time().hour();
    model.use_pc_time = m_usePcTime->isChecked() ? 1 : 0;
    model.write_time = m_writeTimeBox->isChecked() ? 1 : 0;
}
