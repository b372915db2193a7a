# cmake -DZIP=<archive> -DDESTINATION=<folder> -P Unzip.cmake: unpacks the archive into a folder
# emptied first, so that the folder holds exactly what the archive holds.
file(REMOVE_RECURSE ${DESTINATION})
file(MAKE_DIRECTORY ${DESTINATION})
file(ARCHIVE_EXTRACT INPUT ${ZIP} DESTINATION ${DESTINATION})
