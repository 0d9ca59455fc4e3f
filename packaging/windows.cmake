# The download for Windows users: the two executables with the book, the README and the licence,
# in velkor-VERSION-windows-x86-64.zip, to unpack into an interface's engine folder.
set(VELKOR_ZIP_NAME velkor-${PROJECT_VERSION}-windows-x86-64)
set(VELKOR_ZIP_STAGE ${CMAKE_BINARY_DIR}/zip/${VELKOR_ZIP_NAME})
add_custom_target(windows-zip
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/zip
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VELKOR_ZIP_STAGE}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:velkor> $<TARGET_FILE:velkor-tool>
            ${PROJECT_SOURCE_DIR}/play/Velkor.book ${VELKOR_ZIP_STAGE}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/README.md ${VELKOR_ZIP_STAGE}/README.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/copyright ${VELKOR_ZIP_STAGE}/LICENSE.txt
    COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/zip
            ${CMAKE_COMMAND} -E tar cf ${CMAKE_BINARY_DIR}/${VELKOR_ZIP_NAME}.zip --format=zip ${VELKOR_ZIP_NAME}
    DEPENDS velkor velkor-tool
    VERBATIM)
