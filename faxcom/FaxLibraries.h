#pragma once
// The functions of libquendle, libsorrelby and libtamsin that the component calls, bound
// by their ordinals when the component is loaded. Until then (and in a process that only
// uses the data classes) no binding is set and FaxClientX is not available.

#include "quendle.h"

namespace vestrel::faxcom {

struct FaxLibraries {
    int (*OpenConnection)(int*, const char*, int, const char*, const char*, const char*);
    int (*OpenConnectionEx)(int*, const char*, int, const char*, const char*, int, int);
    int (*SendFaxJobToServer)(int, const char*, const FaxNumberEntry*, int, AdvancedJobInfo, char*);
    int (*SendPHFaxJobToServer)(int, const char*, const PHFaxEntry*, int, AdvancedJobInfo, char*);
    int (*CancelSendJob)(int, const char*);
    int (*QueryResultForNewTasks)(int, int*);
    int (*PickResultTask)(int, ResultTask*);
    int (*QueryResultTaskByJobNoTaskId)(int, const char*, int, ResultTask*);
    int (*CloseConnection)(int);
    void (*InitAdvancedJobInfo)(AdvancedJobInfo*);
    int (*GetUserInfo)(int, UserInfo*);
    int (*ModifyUserSetting)(int, UserSetting);
    int (*InitDoc2TifServer)();
    int (*PrintDoc2TifFile)(const char*, const char*);
    int (*CloseDoc2TifServer)();
    int (*Text2Tif)(const char*, const char*, int);
};

// NULL until the module has bound the libraries.
const FaxLibraries* Libraries();
void SetLibraries(const FaxLibraries* libraries);

// The process-wide current connection: -1 until an open succeeds, then the handle of the
// latest successful open. Closing a connection does not reset it.
int CurrentConnection();
void SetCurrentConnection(int handle);

}  // namespace vestrel::faxcom
