# Reads Clang's -fdump-record-layouts and -fdump-vtable-layouts output and
# prints, in the order of msvc_x64_layout.txt, the direct members and size of
# each record named in `records` and the virtual-table slots of each class
# named in `tables` (both space-separated lists, given with -v).

BEGIN {
    split(records, recordOrder, " ")
    split(tables, tableOrder, " ")
    for (i in recordOrder) wantedRecord[recordOrder[i]] = 1
    for (i in tableOrder) wantedTable[tableOrder[i]] = 1
}

# A record dump starts with its offset-0 line naming the record.
/^\*\*\* Dumping AST Record Layout$/ {
    getline
    record = ""
    if (match($0, /^ +0 \| (class|struct) /)) {
        name = substr($0, RLENGTH + 1)
        if (name in wantedRecord && !(name in recordText)) record = name
    }
    next
}

# Direct members are indented by three blanks; nested ones by more.
record != "" && /^ +[0-9]+ \|   [^ ]/ {
    split($0, field, / \|   /)
    recordText[record] = recordText[record] record " offset " (field[1] + 0) " " field[2] "\n"
    next
}

record != "" && match($0, /\[sizeof=[0-9]+/) {
    recordText[record] = recordText[record] record " size " substr($0, RSTART + 8, RLENGTH - 8) "\n"
    record = ""
    next
}

# "VFTable for 'Base' in 'Derived' (N entries)." lays out Derived's table.
/^VFTable for '/ {
    count = split($0, quoted, "'")
    table = quoted[count - 1]
    if (!(table in wantedTable) || table in tableText) table = ""
    rttiEntries = 0
    next
}

# The pointer to the type information sits before slot 0 in the real table.
table != "" && /^ +0 \| .* RTTI$/ {
    rttiEntries = 1
    next
}

table != "" && /^ +[0-9]+ \| / {
    split($0, field, / \| /)
    tableText[table] = tableText[table] table " slot " (field[1] - rttiEntries) " " field[2] "\n"
    next
}

/^$/ { table = "" }

END {
    for (i = 1; i in recordOrder; i++) printf "%s", recordText[recordOrder[i]]
    for (i = 1; i in tableOrder; i++) printf "%s", tableText[tableOrder[i]]
}
