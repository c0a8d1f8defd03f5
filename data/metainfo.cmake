# Writes the AppStream metainfo from data/quillmere.metainfo.xml.in.
#
# Included by the build with these variables set, or run on its own:
#   cmake -DMETAINFO_OUTPUT=file -DMETAINFO_APP_ID=id -DMETAINFO_VERSION=1.0.0
#         -DMETAINFO_DATE=2026-12-10 [-DMETAINFO_WEB_PAGE=https://...] -P data/metainfo.cmake
#
# The web page and the screenshots are written only with a web page: a
# screenshot is a web address, <web page>/screenshots/<picture>.png, where
# each picture is one that tools/snapshots writes (publish them there).
if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)
endif()

foreach(required METAINFO_OUTPUT METAINFO_APP_ID METAINFO_VERSION METAINFO_DATE)
  if("${${required}}" STREQUAL "")
    message(FATAL_ERROR "metainfo.cmake needs ${required}")
  endif()
endforeach()

# The pictures shown in software centres: the snapshot name, then the
# caption in English and in Japanese.
set(METAINFO_PICTURES
  "root-timer-light-1.0|Choosing how to go about a round|進め方を選ぶ"
  "root-running-incense-light-1.0|A round running: the incense stick burns down|坐っているあいだ、線香が燃えてゆく"
  "root-day-light-1.0|The day: morning line, hour timeline and dusk line|一日：朝の一行、時間の帯、暮の一行"
  "root-tasks-light-1.0|The task list|作務の一覧"
  "root-daily-light-1.0|The shelf of daily practices|行持の棚")

set(METAINFO_WEB "")
if(NOT "${METAINFO_WEB_PAGE}" STREQUAL "")
  string(REGEX REPLACE "/+$" "" base "${METAINFO_WEB_PAGE}")
  string(APPEND METAINFO_WEB "  <url type=\"homepage\">${METAINFO_WEB_PAGE}</url>\n  <screenshots>\n")
  set(kind " type=\"default\"")
  foreach(picture ${METAINFO_PICTURES})
    string(REPLACE "|" ";" fields "${picture}")
    list(GET fields 0 name)
    list(GET fields 1 caption)
    list(GET fields 2 caption_ja)
    string(APPEND METAINFO_WEB
      "    <screenshot${kind}>\n"
      "      <caption>${caption}</caption>\n"
      "      <caption xml:lang=\"ja\">${caption_ja}</caption>\n"
      "      <image>${base}/screenshots/${name}-en.png</image>\n"
      "      <image xml:lang=\"ja\">${base}/screenshots/${name}-ja.png</image>\n"
      "    </screenshot>\n")
    set(kind "")
  endforeach()
  string(APPEND METAINFO_WEB "  </screenshots>\n")
endif()

configure_file(${CMAKE_CURRENT_LIST_DIR}/quillmere.metainfo.xml.in ${METAINFO_OUTPUT} @ONLY)
