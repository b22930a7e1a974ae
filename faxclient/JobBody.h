#pragma once
// The job defaults and the 908-byte body of REQ_BEGINSEND_CLIJOB.

#include <ctime>
#include <string_view>

#include "MessageBodies.h"
#include "quendle.h"

namespace vestrel::fax {

// What InitAdvancedJobInfo() gives: send now, the server's usual retry words.
void FillDefaultJobInfo(AdvancedJobInfo& job, std::time_t now);
// The job the simple send calls use: as above, but the last three retry words are 0.
void FillSimpleSendJobInfo(AdvancedJobInfo& job, std::time_t now);

UTime LocalUTime(std::time_t when);
// a < b, field by field from the year down.
bool UTimeEarlier(const UTime& a, const UTime& b);

struct JobBodyInput {
    std::string_view jobNo;
    std::string_view remoteName;
    int destinationCount = 0;
    bool pageHeader = false;
    bool promptVoiceUploaded = false;  // false forces the prompt-voice flag to 0
};

BeginSendJobBody BuildJobBody(const AdvancedJobInfo& job, const JobBodyInput& input,
                              std::time_t now);

}  // namespace vestrel::fax
