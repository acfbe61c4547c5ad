# cmake -DPACK_TOOL=kestrel-pack -DFOLDER=dir -DPACK=out.bin -P pack_folder.cmake
#
# Packs a folder with kestrel-pack, every entry compressed on its own (the game extracts files
# one at a time, which a solid stream would make slow), with every entry time fixed so that two
# builds make identical packs. The tool's per-file listing goes to the log only on failure.
set(ENV{SOURCE_DATE_EPOCH} 1262304000)  # 2010-01-01 00:00:00 UTC
execute_process(COMMAND ${PACK_TOOL} create ${PACK} ${FOLDER}
                OUTPUT_VARIABLE listing ERROR_VARIABLE problems RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "kestrel-pack failed (${result}):\n${listing}${problems}")
endif()
