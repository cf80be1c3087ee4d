// Fuzz target for the Videohub request reader: whatever a client sends, in
// whatever pieces, must be cut and classified without harm. Checked on every
// input:
// - no block holds more than the bounds allow, so a client's memory is bounded;
// - a change names only ports of the matrix;
// - a change written back the way the server pushes it reads as the same change;
// - a label accepted holds no control character, and written into a router's
//   line of the set-up file and read back it is the same name on one line.
// The first byte chooses how the rest is cut into pieces.

#include "FuzzPieces.h"
#include "desktop/ConsoleLine.h"
#include "desktop/TextTokens.h"
#include "model/clsRouter.h"
#include "remote/ServerLimits.h"
#include "remote/videohub/BlockReader.h"
#include "remote/videohub/BlockWriter.h"
#include "remote/videohub/RequestParser.h"

#include <cstdint>
#include <cstdlib>

using namespace videohub;

namespace {

constexpr MatrixSize Matrix{12, 7};

void require(bool condition, const char *what)
{
    if (!condition) {
        desktop::writeConsoleLine(QStringLiteral("fuzz_videohub: ") + QLatin1String(what));
        std::abort();
    }
}

void checkBounds(const RawBlock &block)
{
    require(block.header.size() <= serverlimits::VideohubLineBytes, "a header beyond the line bound was kept");
    require(block.lines.size() <= serverlimits::VideohubBlockLines, "a block beyond the line count was kept");
    for (const QByteArray &line : block.lines)
        require(line.size() <= serverlimits::VideohubLineBytes, "a line beyond the bound was kept");
}

void checkPorts(const Request &request)
{
    for (const RouteLine &route : request.routes)
        require(route.output >= 0 && route.output < Matrix.outputs && route.input >= 0 && route.input < Matrix.inputs,
                "a route outside the matrix was accepted");
    const int labelPorts = request.block == Block::InputLabels ? Matrix.inputs : Matrix.outputs;
    for (const LabelLine &label : request.labels)
        require(label.port >= 0 && label.port < labelPorts && !label.name.contains(u';') &&
                    !desktop::holdsNameControl(label.name),
                "a label outside the matrix, with ';' or with a control character was accepted");
    for (const LockLine &lock : request.locks)
        require(lock.output >= 0 && lock.output < Matrix.outputs, "a lock outside the matrix was accepted");
}

QByteArray written(const Request &request)
{
    switch (request.block) {
    case Block::Routing:
        return BlockWriter::routes(request.routes);
    case Block::InputLabels:
    case Block::OutputLabels:
        return BlockWriter::labels(request.block, request.labels);
    case Block::Locks: {
        QList<int> outputs;
        QByteArray letters(Matrix.outputs, 'U');
        for (const LockLine &lock : request.locks) {
            outputs.append(lock.output);
            letters[lock.output] = char(lock.action);
        }
        return BlockWriter::locks(outputs, letters);
    }
    case Block::Preamble:
    case Block::Device:
        break;
    }
    return {};
}

// Only where the written form can hold the request exactly: a lock block
// written from a view keeps the last letter per output, and a name's
// invalid UTF-8 does not survive writing.
bool roundTrips(const Request &request)
{
    if (request.block == Block::Locks) {
        QList<int> seen;
        for (const LockLine &lock : request.locks) {
            if (seen.contains(lock.output))
                return false;
            seen.append(lock.output);
        }
    }
    for (const LabelLine &label : request.labels) {
        if (label.name.contains(u'\uFFFD') || label.name.toUtf8().size() + 4 > serverlimits::VideohubLineBytes)
            return false;
    }
    return true;
}

void checkRoundTrip(const Request &request)
{
    if (request.kind != Request::Kind::Change || !roundTrips(request))
        return;
    BlockReader reader;
    const QList<RawBlock> again = reader.feed(written(request));
    require(again.size() == 1, "a written change did not read as one block");
    const Request reread = ParseRequest(again.first(), Matrix);
    require(reread.kind == Request::Kind::Change && reread.block == request.block && reread.routes == request.routes &&
                reread.labels == request.labels && reread.locks == request.locks,
            "a written change read differently");
}

void checkSetupLine(const Request &request)
{
    for (const LabelLine &label : request.labels) {
        clsRouter router;
        router.setInputCount(0);
        router.setOutputCount(0);
        router.setRouterInName(0, label.name);
        const QString line = router.StringVal();
        require(!line.contains(u'\r') && !line.contains(u'\n'), "a label broke the set-up line");
        clsRouter reread;
        reread.setStringVal(line);
        // The file trims blanks at a name's ends, as it always has.
        require(reread.RouterInName(0) == desktop::trimBlanks(label.name), "a label did not survive the set-up file");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    BlockReader reader;
    feedInPieces(data, size, [&reader](QByteArrayView piece) {
        for (const RawBlock &block : reader.feed(piece)) {
            checkBounds(block);
            const Request request = ParseRequest(block, Matrix);
            checkPorts(request);
            checkRoundTrip(request);
            checkSetupLine(request);
        }
    });
    return 0;
}
