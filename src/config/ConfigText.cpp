#include "config/ConfigText.h"

#include "config/ComPort.h"
#include "config/LineReader.h"
#include "config/MacroSection.h"

QString routerTimeoutText(float timeout)
{
    return QString::number(double(timeout), 'g', 7);
}

QByteArray configText(const Configuration &config, const MacroBank &macros)
{
    QString text = ConfigFileHeader + LineEnd;
    text += QStringLiteral("Com Port: ") + QString::number(comPortNumber(config.CommPortName)) + LineEnd;
    text += QStringLiteral("Router Timeout: ") + routerTimeoutText(config.RouterTimeout) + LineEnd;
    for (const auto &router : config.Routers) {
        if (router && router->RouterType() > -1)
            text += QStringLiteral("Router: ") + router->StringVal() + LineEnd;
    }
    writeMacroSection(text, macros);
    return text.toUtf8();
}
