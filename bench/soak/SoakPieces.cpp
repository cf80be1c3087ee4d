#include "SoakPieces.h"

QString SoakRandom::name()
{
    static const QStringList words = {QStringLiteral("Cam"),    QStringLiteral("Replay"), QStringLiteral("Mon"),
                                      QStringLiteral("Studio"), QStringLiteral("Feed"),   QStringLiteral("Graphics"),
                                      QStringLiteral("Record"), QStringLiteral("Line")};
    if (chance(5))
        return QStringLiteral("Cam 1"); // the same name on many ports
    if (chance(2))
        return {};
    QString name = words[below(int(words.size()))] + u' ' + QString::number(below(40));
    switch (below(25)) {
    case 0:
        return name + QStringLiteral(" Caméra");
    case 1:
        return name + QStringLiteral(" \U0001F3A5"); // outside the basic plane
    case 2:
        return name + QStringLiteral(" with a rather long tail").repeated(1 + below(30));
    case 3:
        return QStringLiteral("\t") + name; // a tab is allowed, even at the ends
    case 4:
        return name + QStringLiteral("\t");
    case 5:
        return name.replace(u' ', u'\t');
    case 6:
        return u' ' + name + u' ';
    default:
        return name;
    }
}

Facts factsStartingWith(const Facts &facts, const QStringList &prefixes)
{
    Facts chosen;
    for (auto it = facts.begin(); it != facts.end(); ++it) {
        for (const QString &prefix : prefixes) {
            if (it.key().startsWith(prefix)) {
                chosen.insert(it.key(), it.value());
                break;
            }
        }
    }
    return chosen;
}

QStringList umdTargets(const SoakPorts &ports)
{
    return {QStringLiteral("tsl31://127.0.0.1:%1?mode=follow").arg(ports.umd),
            QStringLiteral("tsl5tcp://127.0.0.1:%1?mode=outputs").arg(ports.umd)};
}

QStringList panelArguments(const SoakPorts &ports)
{
    QStringList arguments{QStringLiteral("--videohub=127.0.0.1:%1").arg(ports.videohub),
                          QStringLiteral("--swp08=127.0.0.1:%1").arg(ports.swp08)};
    for (const QString &target : umdTargets(ports))
        arguments << QStringLiteral("--umd=") + target;
    return arguments;
}
