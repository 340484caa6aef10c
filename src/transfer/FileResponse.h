#pragma once
// A "file:" URL answered from the local file system as a web server would answer it: a
// "200 OK" status line with the file's Content-Length, or "404 Not Found", then the body. A
// driver database on a local disk thus works with the HTTP choice.

#include "transfer/ResponseSource.h"

#include <fstream>
#include <string>

namespace tollen::transfer {

class FileResponse : public ResponseSource
{
public:
    explicit FileResponse(const std::string &url);

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
