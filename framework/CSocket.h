// CSocket: base of the program's socket classes. It owns nothing; classes
// derived from it keep and drive their own Windows Sockets handle.
#pragma once

#include <winsock2.h>

class CSocket {
public:
    CSocket() = default;
    virtual ~CSocket() = default;
    CSocket(const CSocket&) = delete;
    CSocket& operator=(const CSocket&) = delete;
};
