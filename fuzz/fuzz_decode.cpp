// Arbitrary 512-byte control-code blocks through the decoder. The block is copied into a
// buffer of exactly its size so that AddressSanitizer sees any read past it.
#include "common/Cp1251.h"
#include "rules/RuleCompiler.h"
#include "rules/TermDictionary.h"

#include <QByteArray>

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

// A dictionary with a term for every Type the decoder treats specially.
TermDictionary MakeDictionary()
{
    TermDictionary d;
    d.Append("-", "minus", 1, 7, 0);
    d.Append("-", "unary minus", 1, 11, 0);
    d.Append(cp1251::Encode(u"и"), "and", 1, 15, 0);
    d.Append(cp1251::Encode(u"или"), "or", 1, 16, 0);
    d.Append(cp1251::Encode(u"не"), "not", 1, 1, 0);
    d.Append(">", "greater", 1, 9, 0);
    d.Append("(", "bracket", 1, 17, 0);
    d.Append("A", "a", 4, 0, 0);
    d.Append("OUT", "output", 6, 1, 0);
    d.Append("PULSE", "pulse", 7, 1, 0);
    return d;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const TermDictionary dictionary = MakeDictionary();
    const size_t n = size < size_t(kControlCodeSize) ? size : size_t(kControlCodeSize);
    const std::unique_ptr<char[]> block(new char[n ? n : 1]);
    if (n)
        std::memcpy(block.get(), data, n);
    QByteArray text;
    RuleCompiler(dictionary).Decode(QByteArrayView(block.get(), qsizetype(n)), text);
    return 0;
}
