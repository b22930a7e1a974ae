// Submitting a fax job: job number, uploads, the job body and the destination packets.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "ClientLogTexts.h"
#include "FaxConnection.h"
#include "JobBody.h"
#include "MessageTypes.h"
#include "TextChecks.h"
#include "TextSlots.h"

namespace vestrel::fax {
namespace {

struct DestinationProtocol {
    const char* name;
    std::uint32_t request, ack, end, nak;
    std::size_t entrySize;
    int perPacket;
    bool flagOnEveryPacket;
};

const DestinationProtocol& protocolFor(DestinationKind kind)
{
    static const DestinationProtocol plain{"REQ_SEND_CLITASK", REQ_SEND_CLITASK, REQ_SEND_CLITASK_ACK,
                                           REQ_SEND_CLITASK_END, REQ_SEND_CLITASK_NAK,
                                           sizeof(FaxNumberEntry), 40, false};
    static const DestinationProtocol pageHeader{
        "REQ_SEND_CLIPHTASK", REQ_SEND_CLIPHTASK, REQ_SEND_CLIPHTASK_ACK, REQ_SEND_CLIPHTASK_END,
        REQ_SEND_CLIPHTASK_NAK, sizeof(PHFaxEntry), 8, true};
    static const DestinationProtocol custom{
        "REQ_SEND_CLICUSTOMTASK", REQ_SEND_CLICUSTOMTASK, REQ_SEND_CLICUSTOMTASK_ACK,
        REQ_SEND_CLICUSTOMTASK_END, REQ_SEND_CLICUSTOMTASK_NAK, sizeof(CustomFaxEntry), 40, false};
    switch (kind) {
    case DestinationKind::PageHeader: return pageHeader;
    case DestinationKind::Custom: return custom;
    case DestinationKind::Plain: break;
    }
    return plain;
}

// The fax number of entry i, whatever the entry kind: it is the first field of each.
std::string_view faxNumberOf(const void* entries, std::size_t entrySize, int i)
{
    const char* entry = static_cast<const char*>(entries) + static_cast<std::size_t>(i) * entrySize;
    return SlotText(entry, 28);
}

// Reads until `size` bytes or the end of the file; -1 on error.
ssize_t readFully(int fd, std::uint8_t* buffer, std::size_t size)
{
    std::size_t total = 0;
    while (total < size) {
        const ssize_t got = ::read(fd, buffer + total, size - total);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(total);
}

}  // namespace

bool FaxConnection::initSendJob(std::string& jobNo)
{
    TcpMessage reply;
    if (!ask("REQ_INITSEND_CLIJOB", {REQ_INITSEND_CLIJOB, 1, SEG_WHOLE}, {}, reply,
             PhysicalCheck::RequireSendData) ||
        !expectType("REQ_INITSEND_CLIJOB", reply, REQ_INITSEND_CLIJOB_ACK))
        return false;
    if (reply.body.size() != sizeof(JobNumberBody)) {
        logf(logtext::kWrongReply, "REQ_INITSEND_CLIJOB");
        return false;
    }
    // The server's 16 bytes need not end in a NUL; our copy always does.
    jobNo = std::string(SlotText(reinterpret_cast<const char*>(reply.body.data()), 15));
    return true;
}

bool FaxConnection::uploadFile(const std::string& localPath, const std::string& remoteName)
{
    const int fd = ::open(localPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    RemoteFileNameBody nameBody;
    CopyToSlot(nameBody.name, remoteName);
    TcpMessage reply;
    bool ok = ask("REQ_SEND_MSGFILE", {REQ_SEND_MSGFILE, 1, SEG_WHOLE}, bytesOf(nameBody), reply,
                  PhysicalCheck::RequireSendData) &&
              expectType("REQ_SEND_MSGFILE", reply, REQ_SEND_MSGFILE_ACK);
    // The file is read in large blocks and cut into pieces here; the wire still carries
    // one piece per exchange, but the disk is not asked a thousand times per megabyte.
    constexpr std::size_t kBlock = 64 * kFilePieceSize;
    std::vector<std::uint8_t> block(kBlock);
    std::size_t blockSize = 0, offset = 0;
    bool endOfFile = false;
    while (ok) {
        if (offset == blockSize && !endOfFile) {
            const ssize_t got = readFully(fd, block.data(), kBlock);
            if (got < 0) {
                ok = false;
                break;
            }
            blockSize = static_cast<std::size_t>(got);
            offset = 0;
            endOfFile = blockSize < kBlock;
        }
        const std::size_t piece = std::min<std::size_t>(kFilePieceSize, blockSize - offset);
        // A short piece, empty when the size is a multiple of 1024, ends the upload.
        const bool last = piece < static_cast<std::size_t>(kFilePieceSize);
        ok = ask("REQ_SEND_MSGFILEPACKET",
                 {REQ_SEND_MSGFILEPACKET, 1, last ? SEG_LAST : SEG_MIDDLE},
                 {block.data() + offset, piece}, reply, PhysicalCheck::RequireSendData) &&
             expectType("REQ_SEND_MSGFILEPACKET", reply, REQ_SEND_MSGFILEPACKET_ACK);
        offset += piece;
        if (last)
            break;
    }
    ::close(fd);
    return ok;
}

int FaxConnection::beginSendJob(const BeginSendJobBody& body)
{
    TcpMessage reply;
    if (!ask("REQ_BEGINSEND_CLIJOB", {REQ_BEGINSEND_CLIJOB, 1, SEG_WHOLE}, bytesOf(body), reply,
             PhysicalCheck::Ignore) ||
        !expectType("REQ_BEGINSEND_CLIJOB", reply, REQ_BEGINSEND_CLIJOB_ACK))
        return QUENDLE_ERR_NOT_READY;
    std::int32_t word = 0;
    if (!reply.firstWord(word)) {
        logf(logtext::kWrongReply, "REQ_BEGINSEND_CLIJOB");
        return QUENDLE_ERR_NOT_READY;
    }
    if (word != 0) {
        log(logtext::kRenderFailed);
        return QUENDLE_ERR_FILE_TYPE;
    }
    return QUENDLE_OK;
}

int FaxConnection::sendDestinations(DestinationKind kind, const void* entries, int count)
{
    const DestinationProtocol& protocol = protocolFor(kind);
    const auto* bytes = static_cast<const std::uint8_t*>(entries);
    int sent = 0;
    bool first = true;
    for (;;) {
        const int remaining = count - sent;
        const bool final = remaining <= protocol.perPacket;
        const int inPacket = final ? remaining : protocol.perPacket;
        LogicFields fields;
        fields.msgType = protocol.request;
        fields.segPos = final ? (first ? SEG_WHOLE : SEG_LAST) : (first ? SEG_FIRST : SEG_MIDDLE);
        fields.flag = (final || protocol.flagOnEveryPacket) ? 1 : 0;
        const std::span<const std::uint8_t> body(
            bytes == nullptr ? nullptr : bytes + static_cast<std::size_t>(sent) * protocol.entrySize,
            static_cast<std::size_t>(inPacket) * protocol.entrySize);
        TcpMessage reply;
        if (!ask(protocol.name, fields, body, reply, PhysicalCheck::RequireSendData))
            return QUENDLE_ERR_NOT_READY;
        if (reply.msgType == protocol.end)
            return QUENDLE_OK;
        if (reply.msgType == protocol.nak) {
            logf(logtext::kPacketNak, protocol.name);
            return QUENDLE_ERR_NOT_READY;
        }
        // An acknowledgement of the last packet is not the server taking the whole list.
        if (reply.msgType != protocol.ack || final) {
            logf(logtext::kPacketOther, protocol.name);
            return QUENDLE_ERR_NOT_READY;
        }
        logf(logtext::kPacketAck, protocol.name, protocol.name);
        sent += inPacket;
        first = false;
    }
}

int FaxConnection::sendJob(const SendRequest& request)
{
    if (state_ != kSlotLoggedIn)
        return QUENDLE_ERR_NOT_READY;
    const DestinationProtocol& protocol = protocolFor(request.kind);
    const std::string_view document = request.document;
    auto numbersValid = [&] {
        for (int i = 0; i < request.count; ++i) {
            if (!FaxNumberCharactersValid(faxNumberOf(request.entries, protocol.entrySize, i))) {
                log(logtext::kWrongFaxNumber);
                return false;
            }
        }
        return true;
    };
    auto typeAccepted = [&] {
        if (DocumentTypeAccepted(document))
            return true;
        log(logtext::kWrongFileFormat);
        return false;
    };
    if (request.checkBeforeInit) {
        if (request.checkNumbers && !numbersValid())
            return QUENDLE_ERR_FAX_NUMBER;
        if (!typeAccepted())
            return QUENDLE_ERR_FILE_TYPE;
    }
    std::string jobNo;
    if (!initSendJob(jobNo))
        return QUENDLE_ERR_NOT_READY;
    if (!request.checkBeforeInit) {
        if (request.checkNumbers && !numbersValid())
            return QUENDLE_ERR_FAX_NUMBER;
        if (!typeAccepted())
            return QUENDLE_ERR_FILE_TYPE;
    }
    const std::string remoteName = SendRemoteName(jobNo, document);
    CopyToSlot(request.jobNoOut, 16, jobNo);

    if (request.kind == DestinationKind::Custom) {
        const std::string customFile(SlotText(request.job.customContentFile));
        const std::string customRemote = "CustomFax\\" + jobNo + ".txt";
        if (!uploadFile(customFile, customRemote)) {
            logf(logtext::kCustomUploadFailed, customFile.c_str(), customRemote.c_str());
            return QUENDLE_ERR_UPLOAD;
        }
    }
    if (!uploadFile(std::string(document), remoteName)) {
        logf(logtext::kUploadFailed, request.document, remoteName.c_str());
        return QUENDLE_ERR_UPLOAD;
    }
    bool voiceUploaded = false;
    if (request.job.promptVoice == 1) {
        const std::string voiceFile(SlotText(request.job.promptVoiceFile));
        const std::string voiceRemote = "SendFax\\Prompt_" + jobNo + ".wav";
        voiceUploaded = uploadFile(voiceFile, voiceRemote);
        if (!voiceUploaded)
            logf(logtext::kPromptUploadFailed, voiceFile.c_str(), voiceRemote.c_str());
    }

    JobBodyInput input;
    input.jobNo = jobNo;
    input.remoteName = remoteName;
    input.destinationCount = request.count;
    input.pageHeader = request.kind == DestinationKind::PageHeader;
    input.promptVoiceUploaded = voiceUploaded;
    const BeginSendJobBody body = BuildJobBody(request.job, input, std::time(nullptr));
    const int begun = beginSendJob(body);
    if (begun != QUENDLE_OK)
        return begun;
    return sendDestinations(request.kind, request.entries, request.count);
}

}  // namespace vestrel::fax
