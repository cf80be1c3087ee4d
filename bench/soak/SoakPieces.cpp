#include "SoakPieces.h"

QString SoakRandom::name()
{
    static const QStringList words = {QStringLiteral("Cam"),    QStringLiteral("Replay"), QStringLiteral("Mon"),
                                      QStringLiteral("Studio"), QStringLiteral("Feed"),   QStringLiteral("Graphics"),
                                      QStringLiteral("Record"), QStringLiteral("Line")};
    if (chance(5))
        return QStringLiteral("Cam 1"); // the same name on many ports
    QString name = words[below(int(words.size()))] + u' ' + QString::number(below(40));
    if (chance(5))
        name += QStringLiteral(" Caméra");
    if (chance(5))
        name += QStringLiteral(" with a rather long tail");
    return name;
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
