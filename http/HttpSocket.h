// CHttpSocket: a small blocking HTTP/1.1 client over one TCP connection. It
// builds a GET request, sends it, reads the reply header byte by byte and
// hands out the status and header fields; the caller reads the body with
// Receive. The executable exports this class, so the signatures below are
// part of its interface and must not change.
#pragma once

#include "Afx.h"

class __declspec(dllexport) CHttpSocket : public CSocket {
public:
    // Sizes of the request and reply header buffers, without the terminator.
    enum { REQUEST_SIZE = 1024, REPLY_SIZE = 1024, ADDRESS_SIZE = 256 };

    CHttpSocket();
    virtual ~CHttpSocket();

    // Creates a TCP socket unless connected; 1 when a valid one was made.
    int Socket();
    // Connects the socket to pServer (host name or dotted address) at nPort.
    // Called while connected it closes the connection and returns 0.
    int Connect(char* pServer, int nPort);
    // Builds the GET request for pObject on pServer in the internal buffer
    // and returns it; nLength receives its length. A Range line is added when
    // nFrom > 0. A request that would not fit the buffer comes back empty
    // (length 0), and SendRequest refuses to send it.
    const char* FormatRequestHeader(char* pServer, char* pObject, long& nLength, char* pCookie,
                                    char* pReferer, long nFrom, long nTo, int nReserved);
    // Sends pRequestHeader (the built request when null) and reads the reply
    // header. A length of 0 means the length of the built request.
    int SendRequest(const char* pRequestHeader, long nLength);
    // One recv into pBuffer; 0 when the peer closed, -1 on an error or an
    // expired time-out. Both close the socket.
    long Receive(char* pBuffer, long nMaxLength);
    int CloseSocket();
    // Copies at most nLength bytes of the built request, without terminator.
    int GetRequestHeader(char* pBuffer, int nLength) const;
    // nType 0: receive time-out, otherwise send time-out; nTime in ms.
    int SetTimeout(int nTime, int nType);
    // Reads the reply header from the socket (up to the empty line, at most
    // REPLY_SIZE bytes) and returns it; nLength receives its length.
    const char* GetResponseHeader(int& nLength);
    // The stored reply header line by line, each with its line end; -1 after
    // the last line (and the next call starts again from the first).
    int GetResponseLine(char* pBuffer, int nMaxLength);
    // Value of the first occurrence of szFieldName in the reply header (the
    // ": " after the name is assumed); its length, or a negative number when
    // the field is missing or has no line end.
    int GetField(const char* szFieldName, char* szValue, int nMaxLength);
    // Status code of the stored reply, or -1 before any reply.
    int GetServerState();

protected:
    // The download job's Stop wakes a receive blocked on this socket.
    friend class CDownloadTask;

    char m_szReply[REPLY_SIZE + 1];
    char m_szRequest[REQUEST_SIZE];
    int m_nPort;
    char m_szAddress[ADDRESS_SIZE];
    int m_bConnected;
    SOCKET m_hSocket;
    hostent* m_pHostEntry;
    int m_nLinePos;
    int m_bHaveReply;
    int m_nReplyLength;
};
