#pragma once
// The texts the device link shows, in one place for the engine, the pages, the command-line
// tool and the tests.
#include <QString>

namespace msg {

inline const QString kAddressRange = QStringLiteral("Адрес прибора: число от 1 до 65 535.");
// The connection page and the read/write commands show it with a trailing blank.
inline const QString kAddressRangePage = QStringLiteral("Адрес прибора: число от 1 до 65 535. ");

inline QString OpenFailure(const QString& portName)
{
    return QStringLiteral("Не удалось установить соединение.\n") + QStringLiteral("Коммуникационный порт ")
        + portName + QStringLiteral(" занят \n") + QStringLiteral("или неверно настроен.");
}

inline const QString kBadReply = QStringLiteral("Не удалось установить соединение.\n")
    + QStringLiteral("Возможно, что:\n") + QStringLiteral("- прибор подключен к другому порту\n")
    + QStringLiteral("  или работает на другой скорости,\n") + QStringLiteral("- неверен номер прибора,\n")
    + QStringLiteral("- прибор выключен,\n") + QStringLiteral("- неисправен кабель связи.");

inline const QString kBusy = QStringLiteral("Не удалось установить соединение.\n")
    + QStringLiteral("Прибор занят. Повторите операцию позже.");

inline QString ReadStatus(int status)
{
    return QStringLiteral("Не удалось установить соединение.\nКод ошибки %1 \n").arg(status)
        + QStringLiteral("Возможно, что:\n") + QStringLiteral("- на выбранной скорости обмена,\n")
        + QStringLiteral("  возникает большое число ошибок.");
}

inline QString WriteStatus(int status)
{
    return QStringLiteral("Получена ошибка с кодом %1.\nПовторите операцию.").arg(status);
}

inline const QString kRateErrors = QStringLiteral("Не удалось установить соединение.\n")
    + QStringLiteral("Возможно, что:\n") + QStringLiteral("- на выбранной скорости обмена,\n")
    + QStringLiteral("  возникает большое число ошибок.");

inline const QString kTestLinkOpenFailure = QStringLiteral("Не удалось установить соединение");

inline const QString kNotAllWrittenContinue
    = QStringLiteral("Ошибка - не все данные были записаны.\nПродолжить запись?");

inline const QString kNeedSecondLevel = QStringLiteral("Операция не соответствует выбранному уровню доступа.\n")
    + QStringLiteral("Хотите установить второй уровень доступа?");

inline const QString kLoginChannelFailure
    = QStringLiteral("Не удалось снять пароль.\n") + QStringLiteral("Сбой в канале связи.");
inline const QString kLoginWrongPassword = QStringLiteral("Не удалось снять пароль. Пароль не верен.\n")
    + QStringLiteral("Хотите повторить операцию снятия пароля?");
inline const QString kChangeWrongPassword = QStringLiteral("Не удалось изменить пароль. Пароль не верен.\n")
    + QStringLiteral("Хотите повторить операцию снятия пароля?");

inline QString PasswordChanged(int level)
{
    return QStringLiteral("Пароль ") + (level == 1 ? QStringLiteral("первого уровня") : QStringLiteral("второго уровня"))
        + QStringLiteral(" изменён.");
}

inline const QString kPasswordsDiffer = QStringLiteral("Введёные пароли не совпадают.\n")
    + QStringLiteral("Введите в оба поля один и тот же пароль.");
inline const QString kPasswordBadCharacters = QStringLiteral("Введёный пароль содержит недопустимые символы.\n")
    + QStringLiteral("Используйте цифры и буквы английского алфавита.");

inline const QString kReadFailure = QStringLiteral("Сбой в процессе чтения данных");

inline const QString kRateNotSupported = QStringLiteral("Выбранный порт не поддерживает необходимую скорость");

inline const QString kPasswordTooLong = QStringLiteral("Пароль длиннее 10 символов не помещается в кадр.");

// The read and write commands of the active page.
inline const QString kExchangeFailure = QStringLiteral("Сбой при обмене данными.   \n Повторите запись.");
inline const QString kVersionConflict = QStringLiteral("Конфликт версий.     \nДанные не записаны.");

// A write the meter refused: status 18 (it must be stopped first) or status 2/3.
inline const QString kNotStoppedNotAllWritten
    = QStringLiteral("Прибор должен быть в режиме СТОП.\nНе все данные были записаны!");
inline const QString kNotAllWritten = QStringLiteral("Не все данные были записаны!");

} // namespace msg
