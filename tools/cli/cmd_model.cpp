#include "CliCommon.h"

int CmdNew(const QStringList&)
{
    cli::Err(QStringLiteral("error: not available yet"));
    return cli::kFailure;
}

int CmdDump(const QStringList&)
{
    cli::Err(QStringLiteral("error: not available yet"));
    return cli::kFailure;
}

