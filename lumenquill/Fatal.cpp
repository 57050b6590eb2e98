#include "Fatal.h"

#include <cstdio>
#include <cstdlib>

void fatalError(const QString &message)
{
    std::fputs(message.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}
