#!/usr/bin/python3
"""Merges a KARTEX export into cards with LibreOffice Writer and prints them.

    scripts/check-mail-merge.py FILE.CSV COLUMN [COLUMN ...]

What a word processor's mail merge makes of the file: its folder is
registered as a text data source (Windows-1250, comma, quotes, a header
line), a card is made with one merge field per COLUMN on a line of its own,
and Writer's mail merge writes one card per row into one text file, which is
printed. For the one-card-per-station file give the columns of each contact,
e.g. QSO_DATE BAND QSO_DATE_2 BAND_2.

Needs LibreOffice's Writer and Base and the Python bridge (Debian packages
libreoffice-writer libreoffice-base python3-uno); run with the system's
python3, which has the bridge.
"""
import os
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


def connect(work):
    office = subprocess.Popen(
        ["soffice", "--headless", "--invisible", "--norestore",
         "-env:UserInstallation=" + uno.systemPathToFileUrl(work + "/profile"),
         "--accept=pipe,name=kartexmerge;urp;"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    for _ in range(60):
        try:
            return office, resolver.resolve(
                "uno:pipe,name=kartexmerge;urp;StarOffice.ComponentContext")
        except Exception:
            time.sleep(1)
    sys.exit("LibreOffice did not start")


def register_source(ctx, folder, extension, work):
    databases = ctx.ServiceManager.createInstanceWithContext("com.sun.star.sdb.DatabaseContext", ctx)
    source = databases.createInstance()
    source.URL = "sdbc:flat:" + uno.systemPathToFileUrl(folder)
    source.Info = (prop("Extension", extension), prop("CharSet", "windows-1250"),
                   prop("HeaderLine", True), prop("FieldDelimiter", ","),
                   prop("StringDelimiter", '"'), prop("DecimalDelimiter", "."))
    source.DatabaseDocument.storeAsURL(uno.systemPathToFileUrl(work + "/kartex.odb"), ())
    databases.registerObject("kartex", source)
    return databases


def make_card(ctx, table, columns, path):
    desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
    doc = desktop.loadComponentFromURL("private:factory/swriter", "_blank", 0, (prop("Hidden", True),))
    text = doc.Text
    cursor = text.createTextCursor()
    for column in columns:
        master = doc.createInstance("com.sun.star.text.FieldMaster.Database")
        master.DataBaseName, master.DataTableName = "kartex", table
        master.DataColumnName, master.DataCommandType = column, 0
        field = doc.createInstance("com.sun.star.text.TextField.Database")
        field.attachTextFieldMaster(master)
        text.insertString(cursor, column + ": ", False)
        text.insertTextContent(cursor, field, False)
        text.insertString(cursor, "\n", False)
    doc.storeAsURL(uno.systemPathToFileUrl(path), ())
    doc.close(True)


def merge(ctx, table, card, out):
    mail_merge = ctx.ServiceManager.createInstanceWithContext("com.sun.star.text.MailMerge", ctx)
    mail_merge.DataSourceName, mail_merge.Command, mail_merge.CommandType = "kartex", table, 0
    mail_merge.DocumentURL = uno.systemPathToFileUrl(card)
    mail_merge.OutputType = 2  # a file
    mail_merge.OutputURL = uno.systemPathToFileUrl(out)
    mail_merge.FileNamePrefix, mail_merge.SaveAsSingleFile = "cards", True
    mail_merge.SaveFilter, mail_merge.SaveFilterOptions = "Text (encoded)", "UTF8"
    mail_merge.execute(())


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    csv = os.path.abspath(sys.argv[1])
    table, extension = os.path.splitext(os.path.basename(csv))
    work = tempfile.mkdtemp(prefix="kartex-merge-")
    os.makedirs(work + "/out")
    office, ctx = connect(work)
    try:
        databases = register_source(ctx, os.path.dirname(csv), extension[1:], work)
        make_card(ctx, table, sys.argv[2:], work + "/card.odt")
        merge(ctx, table, work + "/card.odt", work + "/out")
        databases.revokeObject("kartex")
    finally:
        office.kill()
    for name in sorted(os.listdir(work + "/out")):
        with open(os.path.join(work, "out", name), encoding="utf-8-sig") as cards:
            print(cards.read(), end="")


if __name__ == "__main__":
    main()
