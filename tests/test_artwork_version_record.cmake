# Compiles the Windows resource script with a real resource compiler and reads the version record
# back out of the compiled resources, so a slip in the script (a mangled Japanese name, a wrong
# version number, a lost icon) shows here rather than on a Windows machine.
#   cmake -DRC=<llvm-rc> -DSCRIPT=<tamapick.rc> -DOUTPUT=<tamapick.res> -P this file

# "--" ends the options: llvm-rc takes Windows-style "/X" switches, so an absolute Unix path such
# as /check/... would otherwise be read as the /C (code page) switch and the script lost.
execute_process(COMMAND ${RC} /FO ${OUTPUT} -- ${SCRIPT}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the resource compiler rejected ${SCRIPT}:\n${output}")
endif()
file(READ ${OUTPUT} resources HEX)

# ASCII text as the UTF-16LE bytes, in lower-case hex as file(READ ... HEX) gives them.
function(utf16 text out)
  string(HEX "${text}" hex)
  string(REGEX REPLACE "(..)" "\\100" hex "${hex}")
  set(${out} "${hex}" PARENT_SCOPE)
endfunction()

function(expect description pattern)
  if(NOT resources MATCHES "${pattern}")
    message(SEND_ERROR "missing from the compiled resources: ${description}")
  else()
    message(STATUS "found: ${description}")
  endif()
endfunction()

# A string entry: the key, its terminating NUL, padding to a 32-bit boundary, the value, its NUL.
function(expect_string key value_hex shown)
  utf16("${key}" key_hex)
  expect("${key} = ${shown}" "${key_hex}0000(0000)?${value_hex}0000")
endfunction()

set(hoshidama "7b30573060307e30")  # ほしだま
set(kumagumi "4f307e30447d")       # くま組

# The fixed part: signature FEEF04BD, structure version 1.0, then file and product version
# 1.0.0.7 as two pairs of 32-bit words (major.minor, patch.build).
expect("file and product version 1.0.0.7" "bd04effe00000100000001000700000000000100070000003f000000")
# The version resource (type 16, id 1) is tagged Japanese, 0411.
expect("version resource in language 0411" "ffff1000ffff0100000000003000110400000000")
utf16("041104B0" block)
expect("string block 041104B0 (Japanese, Unicode)" "${block}")

utf16("1.00.0007" version_text)
utf16("tamapick" internal_name)
utf16("tamapick.exe" file_name)
utf16("Copyright (C) 2003 " copyright)
expect_string("CompanyName" "${kumagumi}" "the bear team")
expect_string("FileVersion" "${version_text}" "1.00.0007")
expect_string("InternalName" "${internal_name}" "tamapick")
expect_string("LegalCopyright" "${copyright}${kumagumi}" "Copyright (C) 2003 ...")
expect_string("OriginalFilename" "${file_name}" "tamapick.exe")
expect_string("ProductName" "${hoshidama}" "hoshidama")
expect_string("ProductVersion" "${version_text}" "1.00.0007")
# Those seven and nothing else: none of the other standard keys may creep in.
foreach(key FileDescription Comments LegalTrademarks PrivateBuild SpecialBuild)
  utf16("${key}" key_hex)
  if(resources MATCHES "${key_hex}0000")
    message(SEND_ERROR "the version record carries an extra entry: ${key}")
  endif()
endforeach()
utf16("Translation" translation)
expect("Translation 0x411, 1200" "${translation}0000(0000)?1104b004")

# The icon group (type 14, id 1) lists five images; the 256 px one is stored as PNG.
expect("icon group 1" "ffff0e00ffff0100")
expect("icon group of five images" "0000010005001010000001002000")
expect("the 256 px icon image as PNG" "89504e470d0a1a0a")
