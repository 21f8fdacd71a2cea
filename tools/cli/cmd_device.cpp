#include "CliCommon.h"

int CmdIdentify(const QStringList&)
{
    cli::Err(QStringLiteral("error: not available yet"));
    return cli::kFailure;
}

int CmdPasswd(const QStringList&)
{
    cli::Err(QStringLiteral("error: not available yet"));
    return cli::kFailure;
}

