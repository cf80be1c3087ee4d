#pragma once

class QTcpSocket;

// Shuts the sending side of a connected socket once what was written is on
// its way, as a client does that sends its last request and waits for the
// answers; false where the platform cannot.
bool halfClose(QTcpSocket &socket);

// A view's own connection leaving once read: half-closed, then waited for
// (bounded) until the server has closed it too, so the client counts read
// next no longer include it; aborted where it cannot half-close.
void leaveAndWait(QTcpSocket &socket);
