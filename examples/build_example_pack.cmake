# cmake -DPACK_TOOL=kestrel-pack -DSOURCE=examples/gannet-isle -DSTAGING=dir -DPACK=out.bin -P build_example_pack.cmake
#
# Makes the Gannet Isle pack the way an author would by hand: the INI files copied into a
# folder, kestrel-pack turning the pictures and models of sources/ into the landscape, sky,
# mesh and menu pictures beside them, a check of the whole folder, and the pack.
set(ENV{SOURCE_DATE_EPOCH} 1262304000)  # fixed entry times: two builds make identical packs

function(run)
  execute_process(COMMAND ${PACK_TOOL} ${ARGN} OUTPUT_VARIABLE output ERROR_VARIABLE problems RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "kestrel-pack ${ARGN} failed (${result}):\n${output}${problems}")
  endif()
endfunction()

file(REMOVE_RECURSE ${STAGING})
foreach(folder missions terrain meshes choppers weapons)
  file(MAKE_DIRECTORY ${STAGING}/${folder})
endforeach()
file(COPY ${SOURCE}/content.ini ${SOURCE}/choppers.ini ${SOURCE}/weapons.ini ${SOURCE}/meshes.ini DESTINATION ${STAGING})
file(COPY ${SOURCE}/missions/smugglers.ini DESTINATION ${STAGING}/missions)

set(in ${SOURCE}/sources)
run(terrain ${in}/heights.png ${in}/texture.png -o ${STAGING}/terrain/gannet)
run(sky ${in}/sky.png -o ${STAGING}/terrain/gannet_sky)
run(mesh ${in}/tower.obj --lod ${in}/tower_far.obj --texture ${in}/tower.png --distances 4,23 -o ${STAGING}/meshes/tower)
run(picture ${in}/pictures/mission_splash.png --size 240x320 -o ${STAGING}/missions/smugglers)
foreach(picture gannet_splash:240x320 gannet_title:100x28 gannet_title_mask:100x28 gannet_loadout:240x150)
  string(REPLACE ":" ";" parts ${picture})
  list(GET parts 0 name)
  list(GET parts 1 size)
  run(picture ${in}/pictures/${name}.png --size ${size} -o ${STAGING}/choppers/${name})
endforeach()
foreach(picture gull_splash:240x320 gull_title:100x28 gull_title_mask:100x28 gull_pylon:45x35 gull_add:45x35)
  string(REPLACE ":" ";" parts ${picture})
  list(GET parts 0 name)
  list(GET parts 1 size)
  run(picture ${in}/pictures/${name}.png --size ${size} -o ${STAGING}/weapons/${name})
endforeach()

run(check ${STAGING})
run(create ${PACK} ${STAGING})
