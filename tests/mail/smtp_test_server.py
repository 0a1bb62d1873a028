"""SMTP server for the mail tests: aiosmtpd on 127.0.0.1, each message saved
as a file. Usage: smtp_test_server.py plain|starttls|smtps|smtps-login PORT OUTDIR CERT KEY
starttls and smtps take AUTH PLAIN and LOGIN for taro / secret; smtps-login
offers LOGIN only."""
import os
import signal
import ssl
import sys
import time

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

mode, port, outdir, cert, key = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4], sys.argv[5]


class Handler:
    async def handle_DATA(self, server, session, envelope):
        n = len(os.listdir(outdir))
        sender = envelope.mail_from
        if not sender.startswith("<"):
            sender = "<%s>" % sender
        head = "X-Envelope-From: %s\r\nX-Envelope-To: %s\r\n" % (
            sender, ",".join(envelope.rcpt_tos))
        path = os.path.join(outdir, "%04d.eml" % n)
        with open(path + ".tmp", "wb") as f:
            f.write(head.encode() + envelope.original_content)
        os.rename(path + ".tmp", path)
        return "250 Message accepted"


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = (isinstance(auth_data, LoginPassword) and auth_data.login == b"taro"
          and auth_data.password == b"secret")
    return AuthResult(success=ok, handled=False)


context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
context.load_cert_chain(cert, key)
common = dict(hostname="127.0.0.1", port=port)
if mode == "plain":
    controller = Controller(Handler(), **common)
elif mode == "starttls":
    controller = Controller(Handler(), tls_context=context, require_starttls=True,
                            authenticator=authenticator, auth_require_tls=True, **common)
else:
    excluded = ["PLAIN"] if mode == "smtps-login" else []
    controller = Controller(Handler(), ssl_context=context, authenticator=authenticator,
                            auth_require_tls=False, auth_exclude_mechanism=excluded, **common)
controller.start()
print("ready", flush=True)
signal.signal(signal.SIGTERM, lambda *_: (controller.stop(), sys.exit(0)))
while True:
    time.sleep(3600)
