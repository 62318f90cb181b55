# The programs' facts (programs/programs.json), read at configure time and
# written for the languages that cannot read the file themselves:
#   - anim_programs.h, the C++ constants, through the interface target
#     anim_program_facts: numbers as int, strings as const char*, lists of
#     strings as null-terminated arrays (path lists, as the toolkit takes
#     them), objects and programs as namespaces, every name in kCamelCase;
#   - programs.env in the build folder, for the shell scripts:
#     ANIM_PROGRAMS (the names), ANIM_RUN_FRAMES and ANIM_PAUSE_MS;
#   - ANIM_PROGRAMS and ANIM_<name>_PICTURES, for this build.
set(ANIM_MANIFEST ${CMAKE_CURRENT_LIST_DIR}/programs.json)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ANIM_MANIFEST})
file(READ ${ANIM_MANIFEST} manifest)

# kCamelCase of a snake_case name.
function(anim_constant_name out name)
  string(REPLACE "_" ";" words ${name})
  set(camel k)
  foreach(word IN LISTS words)
    string(SUBSTRING ${word} 0 1 first)
    string(SUBSTRING ${word} 1 -1 rest)
    string(TOUPPER ${first} first)
    string(APPEND camel ${first}${rest})
  endforeach()
  set(${out} ${camel} PARENT_SCOPE)
endfunction()

# C++ declarations of the members of the JSON object `json`, but those named
# in the further arguments.
function(anim_constants out json)
  set(code "")
  string(JSON count LENGTH "${json}")
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    string(JSON key MEMBER "${json}" ${i})
    if(key IN_LIST ARGN)
      continue()
    endif()
    string(JSON type TYPE "${json}" ${key})
    string(JSON value GET "${json}" ${key})
    anim_constant_name(name ${key})
    if(type STREQUAL "NUMBER")
      string(APPEND code "inline constexpr int ${name} = ${value};\n")
    elseif(type STREQUAL "STRING")
      string(APPEND code "inline constexpr const char* ${name} = \"${value}\";\n")
    elseif(type STREQUAL "ARRAY")
      string(JSON length LENGTH "${value}")
      math(EXPR end "${length} - 1")
      set(items "")
      foreach(j RANGE ${end})
        string(JSON item GET "${value}" ${j})
        string(APPEND items "\"${item}\", ")
      endforeach()
      string(APPEND code "inline constexpr const char* const ${name}[] = {${items}nullptr};\n")
    elseif(type STREQUAL "OBJECT")
      anim_constants(members "${value}")
      string(APPEND code "namespace ${key} {\n${members}}  // namespace ${key}\n")
    endif()
  endforeach()
  set(${out} "${code}" PARENT_SCOPE)
endfunction()

anim_constants(global "${manifest}" about programs)
set(programs_code "")
set(names "")
string(JSON count LENGTH "${manifest}" programs)
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  string(JSON program GET "${manifest}" programs ${i})
  string(JSON name GET "${program}" name)
  string(JSON pictures GET "${program}" pictures)
  anim_constants(facts "${program}" name)
  string(APPEND programs_code "\nnamespace ${name} {\n${facts}}  // namespace ${name}\n")
  list(APPEND names ${name})
  set(ANIM_${name}_PICTURES ${pictures})
endforeach()
set(ANIM_PROGRAMS ${names})

file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/include/anim_programs.h CONTENT
"// anim_programs.h: the programs' facts, written by the build from
// programs/programs.json (edit that file, not this one).
#ifndef ANIM_PROGRAMS_H
#define ANIM_PROGRAMS_H

namespace anim_programs {

${global}${programs_code}
}  // namespace anim_programs

#endif
")
string(JSON run_frames GET "${manifest}" run_frames)
string(JSON pause_ms GET "${manifest}" pause_ms)
string(JOIN " " spaced_names ${names})
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/programs.env CONTENT
"# The programs' facts for the shell scripts, from programs/programs.json.
ANIM_PROGRAMS=\"${spaced_names}\"
ANIM_RUN_FRAMES=${run_frames}
ANIM_PAUSE_MS=${pause_ms}
")

add_library(anim_program_facts INTERFACE)
target_include_directories(anim_program_facts INTERFACE ${PROJECT_BINARY_DIR}/include)
