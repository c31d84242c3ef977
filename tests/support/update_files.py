"""Helpers of the self-update tests on both platforms: the files a program folder holds, and
update files signed the way a store signs them, with scripts/sign_update.sh."""
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
SIGN = os.path.join(HERE, "..", "..", "scripts", "sign_update.sh")
# The test key pair, whose public key the signed loopback builds trust.
STORE_KEY = os.path.join(HERE, "signing", "store-update.key")


def folder_files(program):
    """The files under a program's folder, as sorted paths relative to it."""
    found = []
    for root, _, names in os.walk(program.folder):
        found += [os.path.relpath(os.path.join(root, n), program.folder) for n in names]
    return sorted(found)


def new_key(folder):
    """A key pair of another store, made in folder; its secret key's path."""
    subprocess.run(["bash", SIGN, "keygen", folder], check=True, capture_output=True)
    return os.path.join(folder, "store-update.key")


def sign(key, data, name, version, work):
    """The signature file of data downloaded as name for version, written in work."""
    path = os.path.join(work, name)
    with open(path, "wb") as f:
        f.write(data)
    subprocess.run(["bash", SIGN, "sign", key, path, name, version], check=True, capture_output=True)
    with open(path + ".sig", "rb") as f:
        return f.read()


def sign_notice(key, notice, reason, work):
    """The signature file of a switch-off notice and its reason, written in work."""
    paths = []
    for name, text in (("ifDisabled.txt", notice), ("reasonDisabled.txt", reason)):
        paths.append(os.path.join(work, name))
        with open(paths[-1], "w") as f:
            f.write(text)
    subprocess.run(["bash", SIGN, "notice", key, *paths], check=True, capture_output=True)
    with open(paths[0] + ".sig", "rb") as f:
        return f.read()
