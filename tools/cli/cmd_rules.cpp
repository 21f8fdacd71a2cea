#include "CliCommon.h"

int CmdCompile(const QStringList&)
{
    cli::Err(QStringLiteral("error: not available yet"));
    return cli::kFailure;
}

int CmdDecode(const QStringList&)
{
    cli::Err(QStringLiteral("error: not available yet"));
    return cli::kFailure;
}

