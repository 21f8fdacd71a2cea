#pragma once
// The texts of the setpoint exchanges, as the user sees them.
#include <QString>

namespace msg {

inline const QString kClockReadFailure = QStringLiteral("Сбой при выполнении операции чтения");

// The framework's own texts for an edit that must hold an integer, shown when it is left.
inline const QString kEnterInteger = QStringLiteral("Please enter an integer.");
inline QString EnterIntegerBetween(int low, int high)
{
    return QStringLiteral("Please enter an integer between %1 and %2.").arg(low).arg(high);
}

// "Системные": an address the meter cannot take.
inline const QString kAddressOutOfRange
    = QStringLiteral("Адрес прибора не в диапазоне от 1 до 65535.\nАдрес не будет изменён.");

inline const QString kSetClockQuestion = QStringLiteral("ВНИМАНИЕ! Установка нового времени прибора\n")
    + QStringLiteral("приведёт к удалению ВСЕХ результатов измерений\n")
    + QStringLiteral("и протокола работы прибора.\n") + QStringLiteral("Подтверждаете удаление данных?\n");

inline const QString kClockNeedsStopQuestion = QStringLiteral("Установка времени прибора\n")
    + QStringLiteral("возможна только в режиме СТОП.\n") + QStringLiteral("Время не будет установлено.\n")
    + QStringLiteral("Продолжить запись?\n");

inline const QString kSetpointsNeedStop
    = QStringLiteral("Запись уставок возможна\n") + QStringLiteral("только в режиме СТОП.\n");

inline const QString kChangeAddressQuestion
    = QStringLiteral("Внимание!\nБудет изменён адрес прибора в сети.\nПродолжить?");

} // namespace msg
