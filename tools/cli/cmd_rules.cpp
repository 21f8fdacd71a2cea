// compile and decode: the pulse I/O rules and their control-code block.
#include "CliCommon.h"
#include "CliPrompt.h"

#include "common/Cp1251.h"
#include "common/SaveFile.h"
#include "rules/RuleCompiler.h"
#include "rules/RulesMessages.h"
#include "rules/TermDictionary.h"

#include <QFile>

namespace {

// Reports a missing or unreadable dictionary like the pulse I/O page does; *loaded tells
// whether the whole dictionary was read.
TermDictionary LoadDictionary(const cli::Options& options, bool* loaded = nullptr)
{
    CliPrompt prompt(false, std::nullopt);
    TermDictionary dictionary;
    const bool ok = dictionary.Load(options.Value(QStringLiteral("--dictionary"), TermDictionary::DefaultPath()), prompt);
    if (loaded)
        *loaded = ok;
    return dictionary;
}

bool ReadFile(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        cli::Err(QStringLiteral("error: Не удалось открыть файл %1.").arg(path));
        return false;
    }
    bytes = file.readAll();
    return true;
}

} // namespace

int CmdCompile(const QStringList& args)
{
    const QString usage = QStringLiteral("ladograf-cli compile RULES --out CODE [--dictionary DB]");
    cli::Options options;
    if (!options.Parse(args, {QStringLiteral("--out"), QStringLiteral("--dictionary")}, {}))
        return cli::Usage(options.error() + QStringLiteral("\n") + usage);
    if (options.Positional().size() != 1 || !options.Has(QStringLiteral("--out")))
        return cli::Usage(usage);

    QByteArray source;
    if (!ReadFile(options.Positional().first(), source))
        return cli::kFailure;
    // The rule editor knows only "\n" as a line end.
    QString text = QString::fromUtf8(source).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    // With a missing dictionary compile goes on with what was read, as the page does:
    // every word is then unknown and the command fails on it.
    const TermDictionary dictionary = LoadDictionary(options);
    QByteArray block = EmptyControlCode();
    QStringList messages;
    const bool compiled = RuleCompiler(dictionary).Compile(cp1251::Encode(text), block, messages);
    for (const QString& line : std::as_const(messages))
        cli::Out(line + QLatin1Char('\n'));
    if (!compiled)
        return cli::kFailure;

    const QString out = options.Value(QStringLiteral("--out"));
    if (!SaveFileBytes(out, block, nullptr)) {
        cli::Err(QStringLiteral("error: Не удалось записать файл %1.").arg(out));
        return cli::kFailure;
    }
    return cli::kOk;
}

int CmdDecode(const QStringList& args)
{
    const QString usage = QStringLiteral("ladograf-cli decode CODE [--dictionary DB]");
    cli::Options options;
    if (!options.Parse(args, {QStringLiteral("--dictionary")}, {}))
        return cli::Usage(options.error() + QStringLiteral("\n") + usage);
    if (options.Positional().size() != 1)
        return cli::Usage(usage);

    QByteArray block;
    const QString path = options.Positional().first();
    if (!ReadFile(path, block))
        return cli::kFailure;
    // Anything but a whole block is not a control code (a cut download, a wrong file).
    if (block.size() != kControlCodeSize) {
        cli::Err(QStringLiteral("error: Файл %1 не является блоком управляющего кода: размер файла %2, а блок занимает ровно %3 байт.")
                     .arg(path)
                     .arg(block.size())
                     .arg(kControlCodeSize));
        return cli::kUsage;
    }

    // Decoding with missing terms would print a rule text with words dropped.
    bool loaded = false;
    const TermDictionary dictionary = LoadDictionary(options, &loaded);
    if (!loaded)
        return cli::kFailure;
    QByteArray text;
    if (!RuleCompiler(dictionary).Decode(block, text)) {
        CliPrompt(false, std::nullopt).Notice(msg::kUndecodable);
        return cli::kFailure;
    }
    cli::Out(cp1251::Decode(text));
    return cli::kOk;
}
