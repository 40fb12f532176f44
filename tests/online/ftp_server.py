"""FTP server for the upload tests: 127.0.0.1, a free port printed on stdout.

ftp_server.py ROOT USER PASSWORD [--tls CERT KEY] [--slow BYTES_PER_SECOND]
"""
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

root, user, password = sys.argv[1:4]
args = sys.argv[4:]
handler = FTPHandler
if "--tls" in args:
    from OpenSSL import SSL
    from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler

    at = args.index("--tls")
    handler = TLS_FTPHandler
    context = SSL.Context(SSL.TLSv1_2_METHOD)
    context.use_certificate_chain_file(args[at + 1])
    context.use_privatekey_file(args[at + 2])
    # Clients resume the control connection's TLS session on the data
    # connection (vsftpd even demands it); OpenSSL needs a session context.
    context.set_session_id(b"kachikoshi-test")
    handler.ssl_context = context

    class DataHandler(TLS_DTPHandler):
        # libcurl starts TLS on the data connection before STOR; pyftpdlib
        # would close a channel that is not yet receiving.
        def readable(self):
            return self._ssl_accepting or super().readable()

    handler.dtp_handler = DataHandler
    handler.tls_control_required = True
    handler.tls_data_required = True
if "--slow" in args:
    class dtp(ThrottledDTPHandler, handler.dtp_handler):
        pass

    dtp.read_limit = int(args[args.index("--slow") + 1])
    handler.dtp_handler = dtp
authorizer = DummyAuthorizer()
authorizer.add_user(user, password, root, perm="elradfmwMT")
handler.authorizer = authorizer
handler.passive_ports = None
server = FTPServer(("127.0.0.1", 0), handler)
print(server.address[1], flush=True)
server.serve_forever()
