// Arbitrary text through the rule compiler with the shipped dictionary, then the code it
// makes through the decoder.
#include "common/UserPrompt.h"
#include "rules/RuleCompiler.h"
#include "rules/TermDictionary.h"

#include <QByteArray>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {
TermDictionary g_dictionary;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    SilentPrompt prompt;
    if (!g_dictionary.Load(QStringLiteral(LADOGRAF_BUILT_DICTIONARY), prompt) || g_dictionary.isEmpty())
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const RuleCompiler compiler(g_dictionary);
    const QByteArrayView text(reinterpret_cast<const char*>(data), qsizetype(size));
    QByteArray block = EmptyControlCode();
    QStringList messages;
    RuleCompiler::WordSpan span;
    const bool compiled = compiler.Compile(text, block, messages, &span);
    if (block.size() != kControlCodeSize)
        std::abort();
    if (span.start >= 0 && span.start + span.length > text.size())
        std::abort();
    if (compiled) {
        QByteArray decoded;
        compiler.Decode(block, decoded);
    }
    return 0;
}
