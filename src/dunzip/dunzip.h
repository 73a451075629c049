/* libdunzip32: unpacks ZIP archives for the catalogue viewer, which loads it under the Windows
 * name DUNZIP32.DLL. One entry, dunzip, takes one command block.
 *
 * Contract. The library never writes outside the destination folder: a member whose stored name
 * is absolute, starts with a drive letter, has a ".." part (after "\" became "/"), or would be
 * written through a symbolic link is refused, and symbolic-link members are never created. Every
 * file is written under a temporary name in its target folder and renamed over the target only
 * when it is complete and its CRC matched, so a failure (damaged data, full disk, cancel) leaves
 * the old target as it was and no partial file. Only stored and deflated members are unpacked;
 * encrypted members and other methods are refused. A refused or failed member is reported through
 * the message callback (id 11) and the run goes on with the next member. No size or count read
 * from the archive is trusted: data is streamed through a fixed buffer.
 *
 * Paths: a path with a drive letter ("e:\KOMP\X.ZIP") is a DOS path in Windows-1252, mapped to a
 * native path through the program's drive table; any other path is a native one. Texts handed to
 * the callbacks are Windows-1252. Member names are code page 437 unless the archive marks them
 * UTF-8; they are written as UTF-8 file names, exactly as stored (no case matching).
 */
#ifndef DUNZIP_H
#define DUNZIP_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A status callback: item text and percent; a non-zero result cancels the run. */
typedef int32_t (*DunzipStatusCallback)(const char* item, int32_t percent, void* userData);

/* The message callback; see the message ids below for the arguments and results. */
typedef int32_t (*DunzipMessageCallback)(uint32_t messageId, uint32_t boxType, int32_t p1,
                                         int32_t p2, char* text1, char* text2, void* userData);

/* This library has no rename step: the callback and its record are carried for the block's
 * sake and never called. */
typedef struct DunzipRename DunzipRename;
typedef int32_t (*DunzipRenameCallback)(DunzipRename* record, void* userData);

/* The command block: little-endian, no padding between fields, every Boolean a 32-bit 0 or 1.
 * On a 32-bit build pointers and callbacks are 4 bytes and the block is 142 bytes. On a 64-bit
 * build the fields keep their order and pointers and callbacks take 8 bytes, so the block is 202
 * bytes with these offsets:
 *
 *   field            32-bit  64-bit      field              32-bit  64-bit
 *   blockSize             0       0      majorUserData          72     100
 *   functionCode          4       4      returnCount            76     108
 *   zipFile               8       8      returnString           80     112
 *   itemInfo             12      16      diagnostic             84     120
 *   fileSpec             16      24      lfToCrLf               88     124
 *   itemIndex            20      32      decrypt                92     128
 *   destination          24      36      decryptCode            96     132
 *   freshen..noDirectoryItems           message               100     140
 *                     28-56   44-72      messageUserData       104     148
 *   minorStatus          60      76      subOptions            108     156
 *   minorUserData        64      84      zero (8 bytes)        110     158
 *   majorStatus          68      92      rename                118     166
 *                                        renameUserData        122     174
 *                                        extProgTitle          126     182
 *                                        unused1..3        130-138 190-198
 *
 * blockSize must equal sizeof(DunzipCommandBlock) of the library's own build; a block of
 * another size is refused with DUNZIP_BAD_BLOCK before anything else is looked at. */
#pragma pack(push, 1)
typedef struct DunzipCommandBlock {
    int32_t blockSize;
    int32_t functionCode;
    const char* zipFile;
    void* itemInfo; /* 310 bytes; not used by function code 8 */
    const char* fileSpec;
    int32_t itemIndex;
    const char* destination;
    int32_t freshen;
    int32_t update;
    int32_t overwrite; /* replace existing files without asking */
    int32_t quiet;
    int32_t test;
    int32_t noDirectoryNames;
    int32_t recurse;
    int32_t noDirectoryItems;
    DunzipStatusCallback minorStatus;
    void* minorUserData;
    DunzipStatusCallback majorStatus;
    void* majorUserData;
    int32_t returnCount; /* after function code 8: the number of files written */
    char* returnString;
    int32_t diagnostic;
    int32_t lfToCrLf;
    int32_t decrypt;
    const char* decryptCode;
    DunzipMessageCallback message;
    void* messageUserData;
    uint16_t subOptions;
    uint8_t zero[8];
    DunzipRenameCallback rename;
    void* renameUserData;
    const char* extProgTitle;
    int32_t unused1;
    int32_t unused2;
    int32_t unused3;
} DunzipCommandBlock;
#pragma pack(pop)

/* Flags that take effect: overwrite, and this sub-option (with overwrite, read-only targets are
 * replaced without asking too). Every other flag and sub-option is accepted and has no effect. */
#define DUNZIP_SUB_OVERWRITE_READONLY 1

/* Function codes. Only extracting is implemented; every other code gives DUNZIP_BAD_FUNCTION. */
#define DUNZIP_EXTRACT 8

/* Results of dunzip. */
#define DUNZIP_OK 0
#define DUNZIP_BAD_BLOCK 1     /* wrong block size or a null block */
#define DUNZIP_BAD_FUNCTION 2  /* function code other than DUNZIP_EXTRACT */
#define DUNZIP_BAD_ARGUMENTS 3 /* no archive or no destination */
#define DUNZIP_NO_ARCHIVE 4    /* the archive cannot be opened or is damaged as a whole */
#define DUNZIP_NO_DESTINATION 5
#define DUNZIP_CANCELLED 6
#define DUNZIP_MEMBER_FAILED 7 /* the run ended, but at least one member was refused or failed */
#define DUNZIP_INTERNAL_ERROR 8

/* Message ids.
 * DUNZIP_MSG_QUESTION: text1 the question, text2 the caption, boxType DUNZIP_BOX_QUESTION;
 *   answer DUNZIP_YES, DUNZIP_NO or DUNZIP_CANCEL (anything else counts as No).
 * DUNZIP_MSG_STOPPED: a member or the whole run stopped. p1 the reason (below), p2 a detail
 *   (the Windows error number or the method number), text1 the message, text2 the caption.
 * DUNZIP_MSG_TEXT: asks for the text with number p1 before it is shown. text1 is a buffer of p2
 *   bytes holding the library's own text; a handler that answers 1 has put its replacement there
 *   (NUL-terminated). A "%s" in a text is filled in by the library; nothing else is a format. */
#define DUNZIP_MSG_QUESTION 8
#define DUNZIP_MSG_STOPPED 11
#define DUNZIP_MSG_TEXT 13

#define DUNZIP_CANCEL 2
#define DUNZIP_YES 6
#define DUNZIP_NO 7

#define DUNZIP_BOX_QUESTION 0x23 /* Yes, No, Cancel; question icon */
#define DUNZIP_BOX_WARNING 0x30  /* OK; warning icon */

/* Reasons of DUNZIP_MSG_STOPPED (p1). */
#define DUNZIP_STOP_CANCELLED 1
#define DUNZIP_STOP_ARCHIVE 2 /* the archive cannot be read: the run ends */
#define DUNZIP_STOP_DESTINATION 3
#define DUNZIP_STOP_UNSAFE_PATH 4
#define DUNZIP_STOP_LINK_MEMBER 5
#define DUNZIP_STOP_THROUGH_LINK 6
#define DUNZIP_STOP_METHOD 7 /* p2: the method number */
#define DUNZIP_STOP_ENCRYPTED 8
#define DUNZIP_STOP_CRC 9
#define DUNZIP_STOP_DAMAGED 10
#define DUNZIP_STOP_WRITE 11 /* p2: the Windows error number */
#define DUNZIP_STOP_DISK_FULL 12

/* Text numbers asked for with DUNZIP_MSG_TEXT. The library's own texts are English. */
#define DUNZIP_TEXT_CAPTION 13
#define DUNZIP_TEXT_WARNING_CAPTION 14
#define DUNZIP_TEXT_OVERWRITE 68 /* %s: the target */
#define DUNZIP_TEXT_UNPACKING 72 /* %s: the member, the minor status item */
#define DUNZIP_TEXT_OVERWRITE_READONLY 128
#define DUNZIP_TEXT_CANCELLED 150
#define DUNZIP_TEXT_NO_ARCHIVE 151 /* %s: the archive, %s: the cause */
#define DUNZIP_TEXT_NO_DESTINATION 152
#define DUNZIP_TEXT_UNSAFE_PATH 153 /* %s: the member, here and below */
#define DUNZIP_TEXT_LINK_MEMBER 154
#define DUNZIP_TEXT_THROUGH_LINK 155
#define DUNZIP_TEXT_METHOD 156 /* %s: the member, %s: the method number */
#define DUNZIP_TEXT_ENCRYPTED 157
#define DUNZIP_TEXT_CRC 158
#define DUNZIP_TEXT_DAMAGED 159 /* %s: the member, %s: the cause */
#define DUNZIP_TEXT_WRITE 160   /* %s: the member, %s: the Windows error number */
#define DUNZIP_TEXT_DISK_FULL 161
/* Causes, filled into the texts above. */
#define DUNZIP_TEXT_NOT_ZIP 170
#define DUNZIP_TEXT_FILE_NOT_FOUND 171
#define DUNZIP_TEXT_CANNOT_OPEN 172
#define DUNZIP_TEXT_INCONSISTENT 173
#define DUNZIP_TEXT_PREMATURE_END 174
#define DUNZIP_TEXT_READ_ERROR 175
#define DUNZIP_TEXT_MULTI_DISK 176
#define DUNZIP_TEXT_BAD_DATA 177
#define DUNZIP_TEXT_NO_MEMORY 178
#define DUNZIP_TEXT_SIZE_MISMATCH 179
#define DUNZIP_TEXT_OTHER_ERROR 180 /* %s: the libzip error number */

/* The size of the text buffer handed with DUNZIP_MSG_TEXT. */
#define DUNZIP_TEXT_BUFFER_SIZE 256

int32_t dunzip(DunzipCommandBlock* block);

#ifdef __cplusplus
}
#endif

#endif
