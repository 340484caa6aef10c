#pragma once
// A "file:" URL answered from the local file system as a web server would answer it: a
// "200 OK" status line with the file's Content-Length, or "404 Not Found", then the body; a
// request from a later byte gets "206 Partial Content" with the rest of the file, as a server
// that honours ranges sends it. A driver database on a local disk thus works with the HTTP
// choice, and an interrupted download from it continues where it stopped.

#include "transfer/ResponseSource.h"

#include <cstdint>
#include <fstream>
#include <string>

namespace tollen::transfer {

class FileResponse : public ResponseSource
{
public:
    /// The file from byte `start` on.
    FileResponse(const std::string &url, std::int64_t start);

    bool busy() override { return false; }
    const std::string &header() const override { return m_header; }
    std::size_t read(char *out, std::size_t size) override;
    Error failure() const override { return m_failure; }

private:
    std::ifstream m_file;
    std::string m_header;
    Error m_failure;
};

/// True for URLs this class serves.
bool isFileUrl(const std::string &url);

} // namespace tollen::transfer
