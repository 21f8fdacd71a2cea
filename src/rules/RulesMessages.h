#pragma once
// The texts of the term dictionary, the rule compiler and the decoder, in one place for the
// core, the pulse I/O page, the command-line tool and the tests.
#include <QString>

namespace msg {

inline QString DictionaryNotFound(const QString& path)
{
    return QStringLiteral("Не удалось найти файл %1.").arg(path);
}

inline const QString kCompileAnalysing = QStringLiteral("Анализ текста ...");
inline const QString kCompileGenerating = QStringLiteral("Генерация кода ...");
inline const QString kCompileDone = QStringLiteral("Код управления успешно создан");

inline QString CompileUnknownWord(const QString& word)
{
    return QStringLiteral("Ошибка лексики : неопределённый идентификатор '") + word + QLatin1Char('\'');
}
inline const QString kCompileNoIf = QStringLiteral("Ошибка синтаксиса : нет условия 'Если'");
inline const QString kCompileIfWithoutThen = QStringLiteral("Ошибка синтаксиса : 'Если' без 'то'");
inline const QString kCompileNothingAfterThen = QStringLiteral("Ошибка синтаксиса : нет условия 'то'");
inline const QString kCompileNothingAfterElse = QStringLiteral("Ошибка синтаксиса : нет условия 'иначе'");
// Our own: a condition that would need more than 20 pending signs is refused instead of
// overrunning the sign stack.
inline const QString kCompileTooComplex = QStringLiteral("Ошибка синтаксиса : слишком сложное условие");
inline const QString kCompileTooLong = QStringLiteral("Ошибка генерации кода : превышен допустимый объём кода");
inline QString CompileUnknownCode(const QString& word)
{
    return QStringLiteral("Ошибка генерации кода : неопределённый идентификатор '") + word + QLatin1Char('\'');
}

inline const QString kUndecodable = QStringLiteral("Не удалось распознать управляющий код.");

} // namespace msg
