# Prints "dll!function" (dll in lower case) for every import of an objdump -p
# listing; imports by ordinal print as "dll!#ordinal".
/^[ \t]*DLL Name:/ { dll = tolower($3); inTable = 0; next }
/^[ \t]*vma:[ \t]+Hint\/Ord/ { inTable = (dll != ""); next }
inTable && /^[ \t]*$/ { inTable = 0; dll = ""; next }
inTable {
  if (NF >= 3) print dll "!" $3
  else if (NF == 2) print dll "!#" $2
}
