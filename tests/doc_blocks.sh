# doc_block <Markdown file> <language> <n>: prints the n-th block of that
# language (```<language> ... ```) of the file. Sourced by the tests that
# hold the docs to the code and run their commands.
doc_block() {
  awk -v fence="\`\`\`$2" -v n="$3" '$0 == fence {block++; if (block == n) {inside = 1; next}} /^```$/ && inside {exit} inside' "$1"
}
