/* Tollgram.dll as a host program sees it: the calling convention, the shape
 * of every export, the export names and the named results. Plain C, so that
 * a C host can include it as well as a C++ one.
 *
 * Every export takes the same seven arguments, passed on the stack with the
 * cdecl convention of 32-bit x86, and returns a float (in st0):
 *   text        key, path, name or filter; may be null
 *   value       index, flag, size or new field value
 *   buffer      caller-owned text buffer; may be null
 *   bufferSize  capacity of buffer, terminator included
 *   spare1/2    read by no export
 *   context     the host's HostContext; may be null
 */
#ifndef TOLLGRAM_H
#define TOLLGRAM_H

#include <stdint.h>

#if defined(_WIN32)
#define TOLLGRAM_CALL __cdecl
#else
#define TOLLGRAM_CALL
#endif

/* A host leaves this empty; the library itself marks its definitions. */
#ifndef TOLLGRAM_API
#define TOLLGRAM_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The type of every export, for a host that finds them by name. */
typedef float(TOLLGRAM_CALL* TollgramExportFunction)(const char* text, double value, char* buffer,
                                                      int32_t bufferSize, uint32_t spare1, uint32_t spare2,
                                                      void* context);

/* The named results. Counts, lengths, field values and the bounded copy's
 * error numbers (22, 34) come back as themselves; LoadOBJFile and
 * GetFileInfo report their failures as 0. */
enum TollgramResult {
    TOLLGRAM_SUCCESS = 0,
    /* a missing argument or host record, a key that matches none, or a
     * failed operation */
    TOLLGRAM_FAILURE = -1,
    /* the input the export needs after its checks is unusable: the second
     * file of ReplaceOBJVertices could not be read, or GetOBJGroupInfo
     * "name" has no buffer to copy into */
    TOLLGRAM_UNUSABLE_INPUT = -2,
    /* the other model or the host mesh has another vertex count than the
     * current model (ReplaceOBJVertices, SetMesh3DFromOBJGroup,
     * SetMesh3DFromOBJSmoothGroup) */
    TOLLGRAM_VERTEX_COUNTS_DIFFER = -3
};

/* The exports, in the order of the library's export table (the build checks
 * that both name the same exports in the same order). */
#define TOLLGRAM_DECLARE_EXPORT(name)                                                                    \
    TOLLGRAM_API float TOLLGRAM_CALL name(const char* text, double value, char* buffer, int32_t bufferSize, \
                                          uint32_t spare1, uint32_t spare2, void* context);

/* Plugin frame */
TOLLGRAM_DECLARE_EXPORT(Version)

/* OBJ model */
TOLLGRAM_DECLARE_EXPORT(LoadOBJFile)
TOLLGRAM_DECLARE_EXPORT(FreeOBJModel)
TOLLGRAM_DECLARE_EXPORT(ReplaceOBJVertices)
TOLLGRAM_DECLARE_EXPORT(GetOBJInfo)
TOLLGRAM_DECLARE_EXPORT(GetOBJGroupInfo)
TOLLGRAM_DECLARE_EXPORT(GetOBJSmoothGroupInfo)
TOLLGRAM_DECLARE_EXPORT(ExportOBJGroup)
TOLLGRAM_DECLARE_EXPORT(ExportOBJSmoothGroup)

/* Host bridge */
TOLLGRAM_DECLARE_EXPORT(GetMesh3DInfo)
TOLLGRAM_DECLARE_EXPORT(SetMesh3DInfo)
TOLLGRAM_DECLARE_EXPORT(RenameAlpha)
TOLLGRAM_DECLARE_EXPORT(GetAlphaInfo)
TOLLGRAM_DECLARE_EXPORT(RenameTexture)
TOLLGRAM_DECLARE_EXPORT(GetTextureInfo)
TOLLGRAM_DECLARE_EXPORT(SetMesh3DFromOBJGroup)
TOLLGRAM_DECLARE_EXPORT(SetMesh3DFromOBJSmoothGroup)
TOLLGRAM_DECLARE_EXPORT(MoveButtonAfter)

/* Files and dialogs */
TOLLGRAM_DECLARE_EXPORT(GetFileList)
TOLLGRAM_DECLARE_EXPORT(GetDirFileList)
TOLLGRAM_DECLARE_EXPORT(GetFileInfo)
TOLLGRAM_DECLARE_EXPORT(SetDefaultDir)
TOLLGRAM_DECLARE_EXPORT(SetDialogTitle)
TOLLGRAM_DECLARE_EXPORT(FileDelete)
TOLLGRAM_DECLARE_EXPORT(FileCopyFrom)
TOLLGRAM_DECLARE_EXPORT(FileCopyTo)
TOLLGRAM_DECLARE_EXPORT(DirCreate)
TOLLGRAM_DECLARE_EXPORT(DirDelete)
TOLLGRAM_DECLARE_EXPORT(SetAppLinkPath)
TOLLGRAM_DECLARE_EXPORT(ResetAppLinkPath)
TOLLGRAM_DECLARE_EXPORT(AppLinkOpenFile)

/* Texture thumbnails */
TOLLGRAM_DECLARE_EXPORT(SetThumbnail)
TOLLGRAM_DECLARE_EXPORT(SaveTextureThumbnail)

#undef TOLLGRAM_DECLARE_EXPORT

#ifdef __cplusplus
}
#endif

#endif /* TOLLGRAM_H */
