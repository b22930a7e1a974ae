#include "JobBody.h"

#include <cstring>
#include <tuple>

#include "TextSlots.h"

namespace vestrel::fax {

UTime LocalUTime(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    UTime time{};
    time.year = static_cast<std::uint16_t>(local.tm_year + 1900);
    time.month = static_cast<std::uint16_t>(local.tm_mon + 1);
    time.day = static_cast<std::uint16_t>(local.tm_mday);
    time.hour = static_cast<std::uint16_t>(local.tm_hour);
    time.minute = static_cast<std::uint16_t>(local.tm_min);
    time.second = static_cast<std::uint16_t>(local.tm_sec);
    return time;
}

bool UTimeEarlier(const UTime& a, const UTime& b)
{
    return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second) <
           std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
}

void FillDefaultJobInfo(AdvancedJobInfo& job, std::time_t now)
{
    std::memset(&job, 0, sizeof(job));
    job.jobKind = 1;
    job.sendTime = LocalUTime(now);
    job.word48 = 18;
    job.word408 = -1;
    job.word412 = -1;
    job.word416 = -1;
    job.word420 = -1;
    job.word1100[6] = 2;    // offset 1124
    job.word1100[7] = 180;  // offset 1128
    job.word1100[8] = 300;  // offset 1132
}

void FillSimpleSendJobInfo(AdvancedJobInfo& job, std::time_t now)
{
    FillDefaultJobInfo(job, now);
    job.word1100[6] = 0;
    job.word1100[7] = 0;
    job.word1100[8] = 0;
}

BeginSendJobBody BuildJobBody(const AdvancedJobInfo& job, const JobBodyInput& input,
                              std::time_t now)
{
    BeginSendJobBody body;
    std::memset(&body, 0, sizeof(body));
    CopyToSlot(body.jobNo, input.jobNo);
    CopyToSlot(body.text4, SlotText(job.text4));
    CopyToSlot(body.remoteName, input.remoteName);
    body.jobKind = (job.jobKind == 1 || job.jobKind == 2) ? job.jobKind : 1;
    body.pageHeader = input.pageHeader ? 1 : 0;
    body.option32 = (job.option32 >= 0 && job.option32 <= 3) ? job.option32 : 0;
    const UTime current = LocalUTime(now);
    const bool sendNow = !UTimeEarlier(current, job.sendTime);
    body.sendNow = sendNow ? 1 : 0;
    body.sendTime = sendNow ? current : job.sendTime;
    body.destinationCount = input.destinationCount;
    body.word48 = job.word48;
    body.word52 = job.word52;
    CopyToSlot(body.text56, SlotText(job.text56));
    body.word156 = job.word156;
    body.promptVoice = input.promptVoiceUploaded ? job.promptVoice : 0;
    body.words404[0] = job.word404;
    body.words404[1] = job.word408;
    body.words404[2] = job.word412;
    body.words404[3] = job.word416;
    body.words404[4] = job.word420;
    CopyToSlot(body.text424, SlotText(job.text424));
    CopyToSlot(body.text428, SlotText(job.text428));
    body.words488[0] = job.word488;
    body.words488[1] = job.word492;
    body.words488[2] = job.word496;
    CopyToSlot(body.text740, SlotText(job.text740));
    CopyToSlot(body.text860, SlotText(job.text860));
    std::memcpy(body.words1100, job.word1100, sizeof(body.words1100));
    CopyToSlot(body.text1136, SlotText(job.text1136));
    return body;
}

}  // namespace vestrel::fax
