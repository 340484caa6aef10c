"""A real FTP server for the transfer tests: pyftpdlib on 127.0.0.1 with a free port.

Prints the port on the first line of stdout once it listens.
"""
import argparse
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--log", required=True)
    arguments = parser.parse_args()

    logging.basicConfig(filename=arguments.log, level=logging.DEBUG,
                        format="%(asctime)s %(message)s")
    authorizer = DummyAuthorizer()
    authorizer.add_user(arguments.user, arguments.password, arguments.root, perm="elradfmwMT")
    handler = FTPHandler
    handler.authorizer = authorizer
    # A short pause after a bad login keeps the failure tests quick; the pause itself is real.
    handler.auth_failed_timeout = 0.2
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
