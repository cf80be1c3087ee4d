#pragma once

class QTcpSocket;

// Shuts the sending side of a connected socket once what was written is on
// its way, as a client does that sends its last request and waits for the
// answers; false where the platform cannot.
bool halfClose(QTcpSocket &socket);
