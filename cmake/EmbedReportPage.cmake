# Builds quenview's report page from its template and turns it into a C++
# source: the page's bytes around the two places that are filled when a report
# is written (its title and the model's JSON), as three byte arrays. Run as a
# script at build time:
#   cmake -DTEMPLATE=... -DPAGE_STYLE=... -DPAGE_SCRIPT=... -DCHART_STYLE=...
#         -DCHART_LIBRARY=... -DCHART_LICENCE=... -DOUTPUT=... -P EmbedReportPage.cmake
# The template names each of these once: {{title}} and {{model}} (in this
# order), {{pageStyle}}, {{pageScript}}, {{chartStyle}}, {{chartLibrary}} and
# {{chartLicence}}.

foreach(input TEMPLATE PAGE_STYLE PAGE_SCRIPT CHART_STYLE CHART_LIBRARY CHART_LICENCE OUTPUT)
    if(NOT DEFINED ${input})
        message(FATAL_ERROR "EmbedReportPage: ${input} is not given")
    endif()
endforeach()

file(READ "${TEMPLATE}" page)

# How often text stands in content.
function(count_of variable content text)
    string(LENGTH "${content}" whole)
    string(REPLACE "${text}" "" without "${content}")
    string(LENGTH "${without}" rest)
    string(LENGTH "${text}" one)
    math(EXPR count "(${whole} - ${rest}) / ${one}")
    set(${variable} ${count} PARENT_SCOPE)
endfunction()

# The run-time places are cut out first, so that no inlined file can supply
# one of them.
function(cut_at place content before_variable after_variable)
    count_of(count "${page}" "{{${place}}}")
    string(FIND "${content}" "{{${place}}}" at)
    if(NOT count EQUAL 1 OR at EQUAL -1)
        message(FATAL_ERROR "${TEMPLATE} must name {{${place}}} exactly once, {{title}} before {{model}}")
    endif()
    string(SUBSTRING "${content}" 0 ${at} before)
    string(LENGTH "{{${place}}}" length)
    math(EXPR after_at "${at} + ${length}")
    string(SUBSTRING "${content}" ${after_at} -1 after)
    set(${before_variable} "${before}" PARENT_SCOPE)
    set(${after_variable} "${after}" PARENT_SCOPE)
endfunction()

cut_at(title "${page}" before_title rest)
cut_at(model "${rest}" before_model after_model)

# An inlined file must not end the element it stands in, nor open a comment
# that would hide that element's end.
function(read_inline variable path forbidden)
    file(READ "${path}" content)
    string(TOLOWER "${content}" lowered)
    foreach(text IN LISTS forbidden)
        string(FIND "${lowered}" "${text}" at)
        if(NOT at EQUAL -1)
            message(FATAL_ERROR "${path} holds \"${text}\", which would break the page it is inlined into")
        endif()
    endforeach()
    set(${variable} "${content}" PARENT_SCOPE)
endfunction()

read_inline(pageStyle "${PAGE_STYLE}" "</style")
read_inline(chartStyle "${CHART_STYLE}" "</style")
read_inline(pageScript "${PAGE_SCRIPT}" "</script;<!--")
read_inline(chartLibrary "${CHART_LIBRARY}" "</script;<!--")
file(READ "${CHART_LICENCE}" chartLicence)
string(REPLACE "&" "&amp;" chartLicence "${chartLicence}")
string(REPLACE "<" "&lt;" chartLicence "${chartLicence}")
string(REPLACE ">" "&gt;" chartLicence "${chartLicence}")

foreach(name pageStyle chartStyle pageScript chartLibrary chartLicence)
    count_of(count "${page}" "{{${name}}}")
    if(NOT count EQUAL 1)
        message(FATAL_ERROR "${TEMPLATE} must name {{${name}}} exactly once")
    endif()
    foreach(part before_title before_model after_model)
        string(REPLACE "{{${name}}}" "${${name}}" ${part} "${${part}}")
    endforeach()
endforeach()

# The bytes go through a file so that file(READ ... HEX) sees them unchanged.
function(byte_array variable content)
    set(scratch "${OUTPUT}.${variable}.part")
    file(WRITE "${scratch}" "${content}")
    file(READ "${scratch}" hex HEX)
    file(REMOVE "${scratch}")
    string(LENGTH "${hex}" hex_length)
    math(EXPR size "${hex_length} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    # 24 bytes a line (CMake's expressions have no counted repeats).
    string(REPEAT "0x[0-9a-f][0-9a-f]," 24 line)
    string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
    set(${variable} "const unsigned char ${variable}[${size}] = {\n    ${bytes}\n};\n" PARENT_SCOPE)
endfunction()

set(source "// Made by cmake/EmbedReportPage.cmake from quenview/web/ and the chart library.\n")
string(APPEND source "#include \"output/reportpage.h\"\n\nnamespace quenview {\n")
foreach(part BeforeTitle BeforeModel AfterModel)
    string(REGEX REPLACE "([A-Z])" "_\\1" snake "${part}")
    string(TOLOWER "${snake}" snake)
    string(SUBSTRING "${snake}" 1 -1 snake)
    byte_array(array "${${snake}}")
    string(REPLACE "const unsigned char array[" "const unsigned char k${part}[" array "${array}")
    string(APPEND source "\nnamespace {\n${array}}  // namespace\n\n")
    string(APPEND source "std::string_view reportPage${part}() {\n")
    string(APPEND source "    return {reinterpret_cast<const char*>(k${part}), sizeof k${part}};\n}\n")
endforeach()
string(APPEND source "\n}  // namespace quenview\n")

# Written only when it changed, so that an unchanged page compiles nothing.
set(staged "${OUTPUT}.new")
file(WRITE "${staged}" "${source}")
file(COPY_FILE "${staged}" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${staged}")
