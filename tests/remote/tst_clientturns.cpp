#include "remote/ClientTurns.h"

#include <QTest>
#include <memory>

// Clients take turns on the line one command each, whoever queued first and
// however much; the turns outlive clients and servers that go mid-turn.

namespace {

struct Client : QObject
{
    Client(QString clientName, int count) : name(std::move(clientName)), commands(count) {}
    QString name;
    int commands;
};

struct Server : QObject
{
    QStringList served;
    std::function<void(Client &)> during = [](Client &) {};
    ClientTurns<Client> turns{*this, [this](Client &client) {
                                  if (client.commands == 0)
                                      return false;
                                  --client.commands;
                                  served.append(client.name);
                                  if (client.commands > 0)
                                      turns.add(&client);
                                  during(client);
                                  return true;
                              }};
};

} // namespace

class TestClientTurns : public QObject
{
    Q_OBJECT

private slots:
    // One command a client a turn, in the order they came; a client with
    // nothing ready passes its turn on; one gone while waiting is skipped.
    // A command runs the event loop (a reply wait): no other command starts
    // meanwhile, and a server that goes during it ends its turns quietly.
    void turnsAreFairAndNeverNest()
    {
        auto server = std::make_unique<Server>();
        int depth = 0;
        int deepest = 0;
        server->during = [&](Client &) {
            deepest = std::max(deepest, ++depth);
            QTest::qWait(20);
            --depth;
        };
        Client a(QStringLiteral("a"), 3);
        Client idle(QStringLiteral("idle"), 0);
        Client b(QStringLiteral("b"), 2);
        auto gone = std::make_unique<Client>(QStringLiteral("gone"), 5);
        for (Client *client : {&a, &idle, gone.get(), &b, &a})
            server->turns.add(client);
        gone.reset();
        QTRY_COMPARE(server->served, (QStringList{"a", "b", "a", "b", "a"}));
        QCOMPARE(deepest, 1);

        Client c(QStringLiteral("c"), 2);
        server->during = [&](Client &) { server.reset(); };
        server->turns.add(&c);
        QTRY_VERIFY(!server);
        QCOMPARE(c.commands, 1);
    }
};

QTEST_GUILESS_MAIN(TestClientTurns)
#include "tst_clientturns.moc"
