package quorvel.rvx.v4;

/**
 * The V4 calls of the text-extraction engine through the native library
 * rvxjava. Paths and passwords are byte arrays handed to the engine
 * unchanged, in whatever encoding the engine expects. Every int result is
 * the engine's code, 0 for success, except that a page call with page 0
 * answers the number the engine reported.
 *
 * The stream calls take any object with a method {@code void write(byte[])},
 * such as a {@link java.io.OutputStream}; it receives the text in arrays of
 * 1 to 255 bytes while the engine writes.
 */
public final class RVXnativeV4 {
    static {
        System.loadLibrary("rvxjava");
    }

    private RVXnativeV4() {
    }

    /** Makes sure the native library is loaded; used by the classes that cache field IDs. */
    static void loadLibrary() {
    }

    public static native RVXfileInfoV4 getRVXFileInfoV4(byte[] in) throws RVXExceptionV4;

    public static native int getTextV4(byte[] in, byte[] out, RVXTextInfoV4 info);

    public static native int getPageTextV4(byte[] in, byte[] out, RVXTextInfoV4 info, int page)
            throws RVXExceptionV4;

    public static native int getPropertyV4(byte[] in, RVXTextInfoV4 info, RVXPropertyV4 property);

    public static native int getPwdTextV4(byte[] in, byte[] out, RVXTextInfoV4 info, byte[] pwd);

    public static native int getPwdPageTextV4(byte[] in, byte[] out, RVXTextInfoV4 info, int page,
            byte[] pwd) throws RVXExceptionV4;

    public static native int getPwdPropertyV4(byte[] in, RVXTextInfoV4 info,
            RVXPropertyV4 property, byte[] pwd);

    public static native int getTextStreamV4(byte[] in, Object stream, RVXTextInfoV4 info);

    public static native int getPageTextStreamV4(byte[] in, Object stream, RVXTextInfoV4 info,
            int page) throws RVXExceptionV4;
}
