#pragma once

#include "remote/swp08/Wire.h"

#include <QtGlobal>
#include <optional>
#include <variant>

namespace swp08 {

// Numbers as on the wire, all counted from 0; whether a matrix, level or port
// exists is the server's to judge.
struct Address
{
    int matrix = 0;
    int level = 0;
    int destination = 0;
    bool operator==(const Address &) const = default;
};

struct Route
{
    Address address;
    int source = 0;
    bool operator==(const Route &) const = default;
};

// The LEN byte of a name request: 4, 8 or 12 characters a name.
enum class NameLength : quint8 { Four = 0, Eight = 1, Twelve = 2 };

[[nodiscard]] constexpr int characters(NameLength length)
{
    return 4 + 4 * int(length);
}

enum class NameKind { Source, Destination };

// Crosspoint interrogate (1, 129) and connect (2, 130).
struct Interrogate
{
    Form form = Form::Normal;
    Address address;
};

struct Connect
{
    Form form = Form::Normal;
    Route route;
};

// Crosspoint tally dump request (21, 149).
struct TallyDumpRequest
{
    Form form = Form::Normal;
    int matrix = 0;
    int level = 0;
};

// Source names (100, 101, 228, 229) or destination names (102, 103, 230,
// 231; their level is always 0): one name when `number` is given, else all.
struct NamesRequest
{
    Form form = Form::Normal;
    NameKind kind = NameKind::Source;
    int matrix = 0;
    int level = 0;
    NameLength length = NameLength::Four;
    std::optional<int> number;
};

// Protect interrogate (10, 138), connect (12, 140), disconnect (14, 142).
struct ProtectInterrogate
{
    Form form = Form::Normal;
    Address address;
};

struct ProtectChange
{
    enum class Action { Protect, Unprotect };
    Form form = Form::Normal;
    Action action = Action::Protect;
    Address address;
    int device = 0;
};

// Protect tally dump request (19, 147): destinations from `first` on.
struct ProtectDumpRequest
{
    Form form = Form::Normal;
    int matrix = 0;
    int level = 0;
    int first = 0;
};

// Connect on go group salvo (120, 248): store a route in a group (0 to 127).
struct SalvoStore
{
    Form form = Form::Normal;
    Route route;
    int group = 0;
};

// Go group salvo (121): fire the group's routes, or empty it.
struct SalvoGo
{
    enum class Operation { Set, Clear };
    Operation operation = Operation::Set;
    int group = 0;
};

// Salvo group interrogate (124, 252): the group's entry at `index`.
struct SalvoInterrogate
{
    Form form = Form::Normal;
    int group = 0;
    int index = 0;
};

// Protocol implementation request (97).
struct ImplementationRequest
{
};

// A well-formed message to answer with the ACK alone: a command this server
// does not implement, a length that does not fit the command's layout, or a
// value the layout does not allow (a remainder byte above 127, a name length,
// salvo group or go operation the protocol does not define).
struct Ignored
{
    quint8 command = 0;
};

using Request =
    std::variant<Ignored, Interrogate, Connect, TallyDumpRequest, NamesRequest, ProtectInterrogate, ProtectChange,
                 ProtectDumpRequest, SalvoStore, SalvoGo, SalvoInterrogate, ImplementationRequest>;

// A request that changes something (a route, a protect, a salvo group), as
// opposed to one that only asks.
[[nodiscard]] inline bool changesSomething(const Request &request)
{
    return std::holds_alternative<Connect>(request) || std::holds_alternative<ProtectChange>(request) ||
           std::holds_alternative<SalvoStore>(request) || std::holds_alternative<SalvoGo>(request);
}

} // namespace swp08
