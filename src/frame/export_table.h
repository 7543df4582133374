// The one list of the library's exports. Every shim, the Windows export
// definition file, the Linux version script and the tests' list of names are
// made from it (the two linker files by cmake/ExportFiles.cmake, which reads
// the TOLLGRAM_EXPORT lines below as text).
//
// TOLLGRAM_EXPORT(name, failureResult)
//
// The second column is the export's own code for a failed operation: what
// its shim returns for the outcome Failure::Failed and when the work throws.
// Each section's work, exports::name, is defined in the file its heading
// names.
//
// This file has no include guard on purpose: it is included once per use with
// TOLLGRAM_EXPORT defined to what that use needs.

// Plugin frame: src/frame/version.cpp
TOLLGRAM_EXPORT(Version, -1.0f)

// OBJ model: src/obj/exports.cpp
TOLLGRAM_EXPORT(LoadOBJFile, 0.0f)
TOLLGRAM_EXPORT(FreeOBJModel, 0.0f)
TOLLGRAM_EXPORT(ReplaceOBJVertices, -1.0f)
TOLLGRAM_EXPORT(GetOBJInfo, 0.0f)
TOLLGRAM_EXPORT(GetOBJGroupInfo, -1.0f)
TOLLGRAM_EXPORT(GetOBJSmoothGroupInfo, -1.0f)
TOLLGRAM_EXPORT(ExportOBJGroup, -1.0f)
TOLLGRAM_EXPORT(ExportOBJSmoothGroup, -1.0f)

// Host bridge: src/host/exports.cpp
TOLLGRAM_EXPORT(GetMesh3DInfo, -1.0f)
TOLLGRAM_EXPORT(SetMesh3DInfo, -1.0f)
TOLLGRAM_EXPORT(RenameAlpha, -1.0f)
TOLLGRAM_EXPORT(GetAlphaInfo, -1.0f)
TOLLGRAM_EXPORT(RenameTexture, -1.0f)
TOLLGRAM_EXPORT(GetTextureInfo, -1.0f)
TOLLGRAM_EXPORT(SetMesh3DFromOBJGroup, -1.0f)
TOLLGRAM_EXPORT(SetMesh3DFromOBJSmoothGroup, -1.0f)
TOLLGRAM_EXPORT(MoveButtonAfter, -1.0f)

// Files and dialogs: src/files/exports.cpp
TOLLGRAM_EXPORT(GetFileList, 0.0f)
TOLLGRAM_EXPORT(GetDirFileList, 0.0f)
TOLLGRAM_EXPORT(GetFileInfo, 0.0f)
TOLLGRAM_EXPORT(SetDefaultDir, -1.0f)
TOLLGRAM_EXPORT(SetDialogTitle, -1.0f)
TOLLGRAM_EXPORT(FileDelete, -1.0f)
TOLLGRAM_EXPORT(FileCopyFrom, -1.0f)
TOLLGRAM_EXPORT(FileCopyTo, -1.0f)
TOLLGRAM_EXPORT(DirCreate, -1.0f)
TOLLGRAM_EXPORT(DirDelete, -1.0f)
TOLLGRAM_EXPORT(SetAppLinkPath, -1.0f)
TOLLGRAM_EXPORT(ResetAppLinkPath, -1.0f)
TOLLGRAM_EXPORT(AppLinkOpenFile, -1.0f)

// Texture thumbnails: src/thumbnail/exports.cpp
TOLLGRAM_EXPORT(SetThumbnail, -1.0f)
TOLLGRAM_EXPORT(SaveTextureThumbnail, -1.0f)
