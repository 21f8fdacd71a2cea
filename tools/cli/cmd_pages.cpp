#include "CliCommon.h"

int CmdRead(const QStringList&)
{
    cli::Err(QStringLiteral("error: not available yet"));
    return cli::kFailure;
}

int CmdWrite(const QStringList&)
{
    cli::Err(QStringLiteral("error: not available yet"));
    return cli::kFailure;
}

