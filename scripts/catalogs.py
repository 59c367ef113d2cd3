#!/usr/bin/env python3
"""The message catalogs' sources in po/, made and checked with the gettext tools.

    scripts/catalogs.py pot     extracts the templates from src/ and merges them into the es.po files
    scripts/catalogs.py check   fails when a translatable text has no Spanish entry, an entry is fuzzy,
                                a catalog does not compile with msgfmt --check, or a template is stale

A translatable text is the literal argument of resourceString(...) or N_(...).
Texts of src/widgets/ (the box buttons) go to the widget set's domain, all
others to the program's domain "default". The build compiles each es.po into
locale/es/LC_MESSAGES/<domain>.mo.
"""
import pathlib
import re
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
SRC = ROOT / "src"

# domain, template, Spanish catalog, whether a source file (relative to ROOT) belongs to the domain
DOMAINS = [
    ("default", "po/tolvane.pot", "po/es.po", lambda rel: not rel.startswith("src/widgets/")),
    ("tolvane-widgets", "po/widgets/tolvane-widgets.pot", "po/widgets/es.po",
     lambda rel: rel.startswith("src/widgets/")),
]
KEYWORDS = ["resourceString", "N_"]
# xgettext reads L"a" L"b" as "a" alone, so wide literals are handed to it as
# narrow ones (same bytes, same lines): a long message split over lines stays whole.
WIDE = re.compile(r'(?<![A-Za-z0-9_])L"')


def version():
    text = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"project\(Tolvane VERSION ([0-9.]+)", text).group(1)


def run(cmd, **kw):
    return subprocess.run(cmd, capture_output=True, text=True, timeout=120, **kw)


def extract(domain, belongs, out):
    """Writes the template of the sources that belong to a domain to out."""
    with tempfile.TemporaryDirectory() as tmp:
        files = []
        for path in sorted(SRC.rglob("*")):
            rel = path.relative_to(ROOT).as_posix()
            if path.suffix not in (".cpp", ".h") or not belongs(rel):
                continue
            copy = pathlib.Path(tmp, rel)
            copy.parent.mkdir(parents=True, exist_ok=True)
            copy.write_text(WIDE.sub('"', path.read_text(encoding="utf-8")), encoding="utf-8")
            files.append(rel)
        cmd = ["xgettext", "--language=C++", "--from-code=UTF-8", "--keyword="]
        cmd += ["--keyword=" + k for k in KEYWORDS]
        # Files without line numbers: an edit elsewhere in a file leaves the template as it was.
        cmd += ["--sort-by-file", "--add-location=file", "--package-name=Tolvane", "--package-version=" + version(),
                "--copyright-holder=Virelo", "--msgid-bugs-address=", "--directory=" + tmp,
                "--output=" + str(out)] + files
        r = run(cmd)
        if r.returncode != 0:
            sys.exit("catalogs: xgettext failed: " + r.stderr)
    text = out.read_text(encoding="utf-8")
    title = "# Texts of Tolvane that the message catalogs translate: domain %s." % domain
    text = text.replace("# SOME DESCRIPTIVE TITLE.", title, 1)
    out.write_text(text.replace("charset=CHARSET", "charset=UTF-8", 1), encoding="utf-8")


def without_date(text):
    return re.sub(r'^"POT-Creation-Date: .*\n', "", text, flags=re.M)


def pot():
    for domain, template, catalog, belongs in DOMAINS:
        extract(domain, belongs, ROOT / template)
        po = ROOT / catalog
        if po.exists():
            r = run(["msgmerge", "--quiet", "--update", "--backup=none", "--no-fuzzy-matching", "--sort-by-file",
                     str(po), str(ROOT / template)])
            if r.returncode != 0:
                sys.exit("catalogs: msgmerge failed on %s: %s" % (catalog, r.stderr))
        print("catalogs: %s -> %s, %s" % (domain, template, catalog))


def lacking(po, template):
    """The template's entries that the catalog does not translate (or only fuzzily), as PO text."""
    merged = run(["msgmerge", "--quiet", "--no-fuzzy-matching", "--no-wrap", str(po), str(template), "-o", "-"])
    r = run(["msgattrib", "--untranslated", "--no-obsolete", "--no-wrap", "-"], input=merged.stdout)
    fuzzy = run(["msgattrib", "--only-fuzzy", "--no-obsolete", "--no-wrap", "-"], input=merged.stdout)
    return without_header(r.stdout + fuzzy.stdout)


def without_header(po_text):
    """The entries of PO text, its header and leading comments left out."""
    entries = po_text.split("\n\n")
    return "\n\n".join(e for e in entries if "msgid" in e and 'msgid ""\nmsgstr' not in e)


def check():
    problems = []
    with tempfile.TemporaryDirectory() as tmp:
        for domain, template, catalog, belongs in DOMAINS:
            fresh = pathlib.Path(tmp, domain + ".pot")
            extract(domain, belongs, fresh)
            po = ROOT / catalog
            if not po.exists():
                problems.append("%s: missing (domain %s)" % (catalog, domain))
                continue
            # Every extracted text must have a translation that is neither empty nor fuzzy.
            r = run(["msgcmp", str(po), str(fresh)])
            if r.returncode != 0:
                problems.append("%s lacks Spanish for these texts of the program:\n%s" % (catalog, lacking(po, fresh)))
            r = run(["msgattrib", "--only-fuzzy", "--no-obsolete", "--no-wrap", str(po)])
            if r.returncode != 0 or without_header(r.stdout):
                problems.append("%s has fuzzy entries:\n%s" % (catalog, without_header(r.stdout) or r.stderr.strip()))
            r = run(["msgfmt", "--check", "--statistics", "-o", "/dev/null", str(po)])
            if r.returncode != 0:
                problems.append("%s does not compile: %s" % (catalog, r.stderr.strip()))
            # The program switches a catalog off unless its header declares UTF-8.
            if not re.search(r'^"Content-Type: text/plain; charset=UTF-8\\n"$', po.read_text(encoding="utf-8"),
                             re.M):
                problems.append("%s: its header must declare charset=UTF-8" % catalog)
            committed = ROOT / template
            if not committed.exists() or without_date(committed.read_text(encoding="utf-8")) != without_date(
                    fresh.read_text(encoding="utf-8")):
                problems.append("%s is not what the sources give: run scripts/catalogs.py pot" % template)
    for p in problems:
        print("catalogs:", p, file=sys.stderr)
    if not problems:
        print("catalogs: every translatable text has its Spanish entry")
    return 1 if problems else 0


def main(args):
    if args == ["pot"]:
        pot()
        return 0
    if args == ["check"]:
        return check()
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
