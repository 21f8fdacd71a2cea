// libFuzzer target: the ".cfg" reader on arbitrary bytes. Whatever the bytes, reading must
// neither crash nor allocate beyond the input, and a file it accepts must write back and
// read again to the same bytes.
#include "common/UserPrompt.h"
#include "model/ConfigFile.h"
#include "model/ConfigModel.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    ConfigModel model = NewConfigModel();
    SilentPrompt prompt;
    QString error;
    if (!ReadConfig(bytes, model, prompt, &error))
        return 0;

    const QByteArray written = WriteConfig(model);
    ConfigModel again = NewConfigModel();
    if (!ReadConfig(written, again, prompt, &error) || WriteConfig(again) != written)
        std::abort();
    return 0;
}
