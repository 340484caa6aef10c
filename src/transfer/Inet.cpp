#include "transfer/Inet.h"

#include "core/Text.h"
#include "transfer/FileResponse.h"
#include "transfer/HttpHeaderValue.h"
#include "transfer/HttpRange.h"
#include "transfer/HttpRequest.h"
#include "transfer/TransferError.h"

namespace tollen::transfer {

Inet::Inet(TransferOptions options) : m_options(std::move(options)) {}

Inet::~Inet() = default;

Error Inet::Execute(const std::string &Operation, const std::string &RequestHeaders)
{
    m_response.reset();
    if (!equalsIgnoringCase(Operation, "GET")) {
        return transferError(TransferCode::Internal);
    }
    if (isFileUrl(m_url)) {
        m_response = std::make_unique<FileResponse>(m_url, requestedStart(RequestHeaders));
    } else {
        m_response = startHttpRequest(m_url, RequestHeaders, m_options);
    }
    return {};
}

bool Inet::StillExecuting()
{
    return m_response && m_response->busy();
}

std::string Inet::GetHeader() const
{
    return m_response ? m_response->header() : std::string();
}

std::string Inet::GetHeader(std::string_view HeaderName) const
{
    return m_response ? httpHeaderValue(m_response->header(), HeaderName) : std::string();
}

ByteArray Inet::GetChunk(std::size_t Size)
{
    ByteArray piece(Size);
    piece.resize(m_response ? m_response->read(reinterpret_cast<char *>(piece.data()), Size) : 0);
    return piece;
}

std::string_view Inet::GetChunkView(std::size_t Size)
{
    return m_response ? m_response->readView(Size) : std::string_view();
}

Error Inet::ResponseError() const
{
    return m_response ? m_response->failure() : Error{};
}

} // namespace tollen::transfer
