/* libquendle: client of the fax server. Thirty C functions that answer with integer
 * codes (0 success, negatives below), and the packed little-endian records they take.
 * Handles are small integers into the library's connection table; callers own every
 * buffer they pass. Texts are NUL-terminated 8-bit text in fixed-width slots. */
#ifndef QUENDLE_H
#define QUENDLE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes shared by all functions. */
#define QUENDLE_OK 0
#define QUENDLE_ERR_LOGIN (-1)        /* login refused, or the account is already connected */
#define QUENDLE_ERR_PARAM (-3)        /* parameter out of range, bad handle, or switched off */
#define QUENDLE_ERR_NOT_READY (-4)    /* not logged in, or the exchange with the server failed */
#define QUENDLE_ERR_FILE_TYPE (-5)    /* document type not accepted, or the server could not render it */
#define QUENDLE_ERR_UPLOAD (-6)       /* an upload (document, prompt voice, custom content) failed */
#define QUENDLE_ERR_NOTHING (-7)      /* nothing to pick, or no such destination */
#define QUENDLE_ERR_FAX_NUMBER (-8)   /* a fax number holds a character other than a digit or '-' */
#define QUENDLE_ERR_LOCAL (-9)        /* no connection slot, or the local file of a download failed */
#define QUENDLE_ERR_REFUSED (-10)     /* the server refused a settings or password change */

#pragma pack(push, 1)

typedef struct UTime {
    uint16_t year;    /* four digits */
    uint16_t month;   /* 1-12 */
    uint16_t day;
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
} UTime;

typedef struct FaxNumberEntry {
    char faxNumber[28];       /* at most 27 characters: digits and '-' */
    int32_t clientTaskId;     /* the caller's number for this destination, returned in results */
} FaxNumberEntry;

typedef struct PHFaxEntry {
    char faxNumber[28];       /* at most 27 characters */
    char headerText1[52];     /* first page-header text, at most 51 characters */
    char headerText2[52];     /* second page-header text, at most 51 characters */
    int32_t clientTaskId;
} PHFaxEntry;

typedef struct CustomFaxEntry {
    char faxNumber[28];       /* at most 27 characters */
    uint8_t serverData[8];    /* carried unchanged to the server */
} CustomFaxEntry;

/* Job options. The server gives most words their meaning; the library copies them into
 * the job it submits. InitAdvancedJobInfo() fills the defaults. */
typedef struct AdvancedJobInfo {
    int32_t jobKind;              /* 1 or 2 (others are sent as 1) */
    char text4[28];
    int32_t option32;             /* 0-3 (others are sent as 0) */
    UTime sendTime;               /* not later than now: send immediately */
    int32_t word48;
    int32_t word52;
    char text56[100];
    int32_t word156;
    int32_t promptVoice;          /* 1: upload the voice file named by promptVoiceFile */
    char promptVoiceFile[240];    /* local path of the prompt voice file */
    int32_t word404;
    int32_t word408;
    int32_t word412;
    int32_t word416;
    int32_t word420;
    char text424[4];
    char text428[60];
    int32_t word488;
    int32_t word492;
    int32_t word496;
    char customContentFile[240];  /* local path of the custom content (custom jobs) */
    char text740[120];
    char text860[240];
    int32_t word1100[9];          /* 1100 ... 1132 */
    char text1136[100];           /* at most 99 characters */
} AdvancedJobInfo;

typedef struct ResultTask {
    int32_t clientTaskId;
    UTime startTime;
    UTime endTime;
    uint8_t serverData28[8];
    int32_t resultCode;
    uint8_t serverData40[8];
} ResultTask;

typedef struct RecvTask {
    int32_t clientTaskId;
    char callingNumber[28];
    UTime startTime;
    UTime endTime;
    uint8_t serverData56[4];
    int32_t resultCode;
    uint8_t serverData64[100];
    char remoteFileName[120];
} RecvTask;

typedef struct UserInfo {
    char account[12];
    char subAccount[5];
    char areaCode[219];           /* 17 ... 235 */
    int32_t faxToneSeconds;       /* fax-tone detection time */
    uint8_t serverData240[8];
    char userName[72];            /* 248 ... 319 */
    double balance;
} UserInfo;

typedef struct UserSetting {
    int32_t faxToneSeconds;       /* fax-tone detection time */
    int32_t promptTone;           /* prompt-tone choice */
    char stationId[100];          /* fax station id, at most 99 characters */
} UserSetting;

#pragma pack(pop)

int OpenConnection(int* handle, const char* host, int port, const char* account,
                   const char* subAccount, const char* password);
int OpenConnectionEx(int* handle, const char* host, int port, const char* account,
                     const char* password, int timeoutMs, int logFlag);
int SendFaxToServer(int handle, const char* document, int unused, const FaxNumberEntry* list,
                    int count, char jobNo[16]);
int SendPHFaxToServer(int handle, const char* document, int jobKind, const PHFaxEntry* list,
                      int count, char jobNo[16]);
int SendFaxJobToServer(int handle, const char* document, const FaxNumberEntry* list, int count,
                       AdvancedJobInfo job, char jobNo[16]);
int SendPHFaxJobToServer(int handle, const char* document, const PHFaxEntry* list, int count,
                         AdvancedJobInfo job, char jobNo[16]);
int SendCustomFaxJobToServer(int handle, const char* document, const CustomFaxEntry* list,
                             int count, AdvancedJobInfo job, char jobNo[16]);
int CancelSendJob(int handle, const char* jobNo);
int QueryResultForNewTasks(int handle, int* count);
int PickResultTask(int handle, ResultTask* result);
int QueryResultTaskByJobNo(int handle, const char* jobNo, int* count);
int QueryResultTaskByJobNoTaskId(int handle, const char* jobNo, int clientTaskId,
                                 ResultTask* result);
int QueryJobFinishByJobNo(int handle, const char* jobNo, int* finishState);
int QueryResultForNewRecvTasks(int handle, int* count);
int PickResultRecvTask(int handle, RecvTask* task, const char* folder);
/* Switched off in this system: each returns -3 and touches nothing. */
int QueryResultForNewICRecvTask(int handle, int kind, int* count);
int PickResultICRecvTask(int handle, void* icRecvTask260, const char* folder);
int FinishQueryForNewICRecvTask(int handle);
int GetICUserSettingByCallInfo(int handle, char* text1, char* text2, char* text3);
int GetICSubUserSettingByExt(int handle, char* text1, char* text2, char* text3);
int CheckNewClientSoftware(int handle, const char* clientVersion, char serverText[120]);
int QueryDownloadableNewClientFile(int handle, int* available);
int DownloadNewClientFile(int handle, const char* fileName, int mode);
int CloseConnection(int handle);
void MakeUTime(int32_t secondsSince1970, UTime* out);
void InitAdvancedJobInfo(AdvancedJobInfo* job);
int GetUserInfo(int handle, UserInfo* info);
int ModifyUserSetting(int handle, UserSetting setting);
int ModifyPassword(int handle, const char* oldPassword, const char* newPassword);
int ConvertText2Wav(int handle, const char* text, const char* outputPath);

/* The function of ordinal 1-30 (NULL otherwise), for callers that bind by ordinal. */
typedef void (*QuendleProc)(void);
QuendleProc quendle_proc_by_ordinal(int ordinal);

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
#include <cstddef>
static_assert(sizeof(UTime) == 12);
static_assert(offsetof(UTime, second) == 10);
static_assert(sizeof(FaxNumberEntry) == 32);
static_assert(offsetof(FaxNumberEntry, clientTaskId) == 28);
static_assert(sizeof(PHFaxEntry) == 136);
static_assert(offsetof(PHFaxEntry, headerText1) == 28);
static_assert(offsetof(PHFaxEntry, headerText2) == 80);
static_assert(offsetof(PHFaxEntry, clientTaskId) == 132);
static_assert(sizeof(CustomFaxEntry) == 36);
static_assert(offsetof(CustomFaxEntry, serverData) == 28);
static_assert(sizeof(AdvancedJobInfo) == 1236);
static_assert(offsetof(AdvancedJobInfo, text4) == 4);
static_assert(offsetof(AdvancedJobInfo, option32) == 32);
static_assert(offsetof(AdvancedJobInfo, sendTime) == 36);
static_assert(offsetof(AdvancedJobInfo, word48) == 48);
static_assert(offsetof(AdvancedJobInfo, word52) == 52);
static_assert(offsetof(AdvancedJobInfo, text56) == 56);
static_assert(offsetof(AdvancedJobInfo, word156) == 156);
static_assert(offsetof(AdvancedJobInfo, promptVoice) == 160);
static_assert(offsetof(AdvancedJobInfo, promptVoiceFile) == 164);
static_assert(offsetof(AdvancedJobInfo, word404) == 404);
static_assert(offsetof(AdvancedJobInfo, word420) == 420);
static_assert(offsetof(AdvancedJobInfo, text424) == 424);
static_assert(offsetof(AdvancedJobInfo, text428) == 428);
static_assert(offsetof(AdvancedJobInfo, word488) == 488);
static_assert(offsetof(AdvancedJobInfo, word496) == 496);
static_assert(offsetof(AdvancedJobInfo, customContentFile) == 500);
static_assert(offsetof(AdvancedJobInfo, text740) == 740);
static_assert(offsetof(AdvancedJobInfo, text860) == 860);
static_assert(offsetof(AdvancedJobInfo, word1100) == 1100);
static_assert(offsetof(AdvancedJobInfo, text1136) == 1136);
static_assert(sizeof(ResultTask) == 48);
static_assert(offsetof(ResultTask, startTime) == 4);
static_assert(offsetof(ResultTask, endTime) == 16);
static_assert(offsetof(ResultTask, resultCode) == 36);
static_assert(sizeof(RecvTask) == 284);
static_assert(offsetof(RecvTask, callingNumber) == 4);
static_assert(offsetof(RecvTask, startTime) == 32);
static_assert(offsetof(RecvTask, endTime) == 44);
static_assert(offsetof(RecvTask, resultCode) == 60);
static_assert(offsetof(RecvTask, remoteFileName) == 164);
static_assert(sizeof(UserInfo) == 328);
static_assert(offsetof(UserInfo, subAccount) == 12);
static_assert(offsetof(UserInfo, areaCode) == 17);
static_assert(offsetof(UserInfo, faxToneSeconds) == 236);
static_assert(offsetof(UserInfo, userName) == 248);
static_assert(offsetof(UserInfo, balance) == 320);
static_assert(sizeof(UserSetting) == 108);
static_assert(offsetof(UserSetting, promptTone) == 4);
static_assert(offsetof(UserSetting, stationId) == 8);
#endif

#endif /* QUENDLE_H */
