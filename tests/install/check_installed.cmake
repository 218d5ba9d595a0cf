# One check of the installed tree; run by ctest as
#   cmake -DSTEP=<step> -DBUILD_DIR=<build> -DPREFIX=<prefix> -DAPP_ID=<id>
#         -DVERSION=<version> -P check_installed.cmake
# Tree installs the build into PREFIX (afresh); the other steps read it.

cmake_minimum_required(VERSION 3.22)

set(share ${PREFIX}/share)
set(desktop_file ${share}/applications/halvorn.desktop)
set(metainfo_file ${share}/metainfo/${APP_ID}.metainfo.xml)
set(mime_file ${share}/mime/packages/halvorn.xml)

function(skip what)
    message("SKIPPED: ${what} is not installed")
endfunction()

# Runs a command, failing unless it exits 0; its standard output and standard
# error go to the variables named by OUT and ERR.
function(run out err)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE text
        ERROR_VARIABLE error_text WORKING_DIRECTORY ${PREFIX})
    if(NOT status EQUAL 0)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "'${command}' ended with ${status}:\n${text}${error_text}")
    endif()
    set(${out} "${text}" PARENT_SCOPE)
    set(${err} "${error_text}" PARENT_SCOPE)
endfunction()

function(expect_json json key expected)
    string(JSON value ERROR_VARIABLE error GET "${json}" ${key})
    if(error OR NOT value STREQUAL expected)
        message(FATAL_ERROR "${key}: expected '${expected}', got '${value}' ${error}\n${json}")
    endif()
endfunction()

# The media types a file names in text of the form <attribute>="type/name".
function(types_in file attribute out)
    file(READ ${file} text)
    string(REGEX MATCHALL "${attribute}=\"[a-z-]+/[a-z0-9.+-]+\"" found "${text}")
    list(TRANSFORM found REPLACE "^.*=\"(.*)\"$" "\\1")
    list(SORT found)
    set(${out} ${found} PARENT_SCOPE)
endfunction()

if(STEP STREQUAL "Tree")
    file(REMOVE_RECURSE ${PREFIX})
    file(MAKE_DIRECTORY ${PREFIX})
    run(log log_errors ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})
    foreach(installed
            bin/halvorn bin/halvorn-cli
            share/halvorn/Demo.sp share/halvorn/Halvorn.ini
            share/halvorn/PEFileHeader.rtf share/halvorn/HeaderTitle.rtf
            share/applications/halvorn.desktop
            share/icons/hicolor/scalable/apps/halvorn.svg
            share/metainfo/${APP_ID}.metainfo.xml share/mime/packages/halvorn.xml)
        if(NOT EXISTS ${PREFIX}/${installed})
            message(FATAL_ERROR "${installed} was not installed:\n${log}")
        endif()
    endforeach()
    # The data files are installed as they are in the build folder.
    foreach(data Demo.sp Halvorn.ini PEFileHeader.rtf HeaderTitle.rtf)
        file(SHA256 ${BUILD_DIR}/bin/${data} built)
        file(SHA256 ${share}/halvorn/${data} installed)
        if(NOT built STREQUAL installed)
            message(FATAL_ERROR "the installed ${data} differs from the built one")
        endif()
    endforeach()

elseif(STEP STREQUAL "Cli")
    # The installed program on the installed demonstration file, with no
    # display, prints what the built one prints for the built file.
    set(no_display ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=QT_QPA_PLATFORM)
    run(installed installed_errors ${no_display} ${PREFIX}/bin/halvorn-cli info ${share}/halvorn/Demo.sp)
    expect_json("${installed}" ok "ON")
    expect_json("${installed}" message "")
    expect_json("${installed}" caption "Infrared Spectrum: File - (Demo.sp)")
    expect_json("${installed}" PointCount 3551)
    expect_json("${installed}" FirstX 4000)
    expect_json("${installed}" LastX 450)
    run(built built_errors ${no_display} ${BUILD_DIR}/bin/halvorn-cli info ${BUILD_DIR}/bin/Demo.sp)
    if(NOT installed STREQUAL built)
        message(FATAL_ERROR "the installed halvorn-cli printed\n${installed}\nthe built one\n${built}")
    endif()

elseif(STEP STREQUAL "DesktopEntry")
    file(STRINGS ${desktop_file} exec REGEX "^Exec=")
    file(STRINGS ${desktop_file} icon REGEX "^Icon=")
    if(NOT exec STREQUAL "Exec=halvorn %f" OR NOT icon STREQUAL "Icon=halvorn")
        message(FATAL_ERROR "the desktop entry starts '${exec}' with '${icon}'")
    endif()
    find_program(validate desktop-file-validate)
    if(NOT validate)
        skip(desktop-file-validate)
        return()
    endif()
    # Warnings and hints count too: the entry must pass without a remark.
    run(remarks remark_errors ${validate} ${desktop_file})
    if(NOT remarks STREQUAL "" OR NOT remark_errors STREQUAL "")
        message(FATAL_ERROR "desktop-file-validate:\n${remarks}${remark_errors}")
    endif()

elseif(STEP STREQUAL "Metainfo")
    file(READ ${metainfo_file} metainfo)
    foreach(expected "<id>${APP_ID}</id>" "<release version=\"${VERSION}\""
            "<launchable type=\"desktop-id\">halvorn.desktop</launchable>"
            "<binary>halvorn</binary>" "<binary>halvorn-cli</binary>")
        string(FIND "${metainfo}" "${expected}" at)
        if(at LESS 0)
            message(FATAL_ERROR "the metainfo file lacks ${expected}")
        endif()
    endforeach()
    find_program(appstreamcli appstreamcli)
    if(NOT appstreamcli)
        skip(appstreamcli)
        return()
    endif()
    run(remarks remark_errors ${appstreamcli} validate --no-net --pedantic ${metainfo_file})
    message("${remarks}${remark_errors}")

elseif(STEP STREQUAL "MimeTypes")
    # The desktop entry and the metainfo file name exactly the types that the
    # type definitions define.
    types_in(${mime_file} "mime-type type" defined)
    file(READ ${desktop_file} entry)
    string(REGEX MATCH "\nMimeType=([^\n]*);\n" mime_line "${entry}")
    set(opened "${CMAKE_MATCH_1}")
    list(SORT opened)
    file(READ ${metainfo_file} metainfo)
    string(REGEX MATCHALL "<mediatype>[^<]+</mediatype>" provided "${metainfo}")
    list(TRANSFORM provided REPLACE "</?mediatype>" "")
    list(SORT provided)
    if(NOT defined OR NOT opened STREQUAL defined OR NOT provided STREQUAL defined)
        message(FATAL_ERROR
            "defined: ${defined}\ndesktop entry: ${opened}\nmetainfo: ${provided}")
    endif()

    find_program(update_mime update-mime-database)
    if(NOT update_mime)
        skip(update-mime-database)
        return()
    endif()
    # Compiled on their own into a scratch database; a definition it cannot
    # read is reported on the output only, so the output must be empty.
    set(scratch ${PREFIX}/../mime-check)
    file(REMOVE_RECURSE ${scratch})
    file(COPY ${mime_file} DESTINATION ${scratch}/mime/packages)
    run(remarks remark_errors
        ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${scratch} ${update_mime} ${scratch}/mime)
    if(NOT remarks STREQUAL "" OR NOT remark_errors STREQUAL "")
        message(FATAL_ERROR "update-mime-database:\n${remarks}${remark_errors}")
    endif()
    file(STRINGS ${scratch}/mime/globs2 globs REGEX "^[0-9]+:")
    list(TRANSFORM globs REPLACE "^[0-9]+:" "")
    list(SORT globs)
    set(expected chemical/x-ir-prn:*.prn chemical/x-ir-sp:*.sp
        chemical/x-jcamp-dx:*.dx chemical/x-jcamp-dx:*.jdx)
    if(NOT globs STREQUAL expected)
        message(FATAL_ERROR "file name patterns: ${globs}")
    endif()
    file(STRINGS ${scratch}/mime/magic magic REGEX "##TITLE=")
    if(NOT magic)
        message(FATAL_ERROR "the JCAMP-DX title is not in the compiled magic")
    endif()
    # Where GLib's gio is at hand, a JCAMP-DX file without an extension is
    # told by its first line, also after a blank line.
    find_program(gio gio)
    if(gio)
        file(WRITE ${scratch}/title-first "##TITLE=Polystyrene\r\n##JCAMP-DX=4.24\r\n")
        file(WRITE ${scratch}/blank-first "\r\n##TITLE=Polystyrene\r\n##JCAMP-DX=4.24\r\n")
        foreach(name title-first blank-first)
            run(info info_errors ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${scratch}
                ${gio} info -a standard::content-type ${scratch}/${name})
            if(NOT info MATCHES "content-type: chemical/x-jcamp-dx")
                message(FATAL_ERROR "${name}: ${info}${info_errors}")
            endif()
        endforeach()
    endif()
    file(REMOVE_RECURSE ${scratch})

else()
    message(FATAL_ERROR "unknown step '${STEP}'")
endif()
