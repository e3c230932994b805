/* Quillport: the serial link library of Tarnwick.
 *
 * One serial port per process, raw byte I/O with fixed line settings
 * (8 data bits, no parity, one stop bit, no flow control, DTR and RTS raised)
 * and packetised file transfer with CRC-16 and acknowledgement.
 *
 * The library is loaded at run time by name; these are its only exports.
 * No function may be called while another call is in progress.
 */
#ifndef QUILLPORT_H
#define QUILLPORT_H

#if defined(_WIN32)
#define QUILLPORT_CALL __cdecl
#if defined(QUILLPORT_BUILDING)
#define QUILLPORT_API __declspec(dllexport)
#else
#define QUILLPORT_API __declspec(dllimport)
#endif
#else
#define QUILLPORT_CALL
#define QUILLPORT_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Port access. Results marked 1/0 are 1 on success. */
QUILLPORT_API int QUILLPORT_CALL fnXSetBaudRate(int baud);        /* taken at the next open */
QUILLPORT_API int QUILLPORT_CALL fnXSetBaudRateL(int baud);       /* same as fnXSetBaudRate */
QUILLPORT_API int QUILLPORT_CALL fnXOpenPort(const char *device); /* 0 or the error code */
QUILLPORT_API int QUILLPORT_CALL fnXClosePort(void);
QUILLPORT_API int QUILLPORT_CALL fnXWriteByte(int c); /* low 8 bits */
QUILLPORT_API int QUILLPORT_CALL fnXWriteToPort(const void *buffer, int length);
QUILLPORT_API char QUILLPORT_CALL fnXReadChar(int *count); /* *count = 1 or 0 */
QUILLPORT_API int QUILLPORT_CALL fnXFlushReadBuffer(void);
QUILLPORT_API int QUILLPORT_CALL fnXFlushWriteBuffer(void);
QUILLPORT_API int QUILLPORT_CALL fnXSetReadTimeout(int milliseconds);

/* Packet file transfer. */
QUILLPORT_API int QUILLPORT_CALL fnXParseFile(const char *path); /* 0 or -1 */
QUILLPORT_API void QUILLPORT_CALL fnXResetFilePath(void);
QUILLPORT_API int QUILLPORT_CALL fnXSendPacket(int index); /* 0, 2 (write failed), 3 (cancelled) */
QUILLPORT_API int QUILLPORT_CALL fnXGetNumberOfPackets(void);
QUILLPORT_API int QUILLPORT_CALL fnXGetCurrentPacketNumber(void);
QUILLPORT_API int QUILLPORT_CALL fnXCancel(void);
QUILLPORT_API int QUILLPORT_CALL fnXGetBytes(void);
QUILLPORT_API int QUILLPORT_CALL fnXSetBytes(int value);

/* Exported for compatibility; nothing reads or writes it. */
QUILLPORT_API extern int nQuillport;

#ifdef __cplusplus
}
#endif

#endif /* QUILLPORT_H */
