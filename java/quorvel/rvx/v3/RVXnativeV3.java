package quorvel.rvx.v3;

/**
 * The V3 calls of the text-extraction engine through the native library
 * rvxjava. Paths and passwords are byte arrays handed to the engine
 * unchanged, in whatever encoding the engine expects. Every int result is
 * the engine's code, 0 for success, except that a page call with page 0
 * answers the number the engine reported.
 */
public final class RVXnativeV3 {
    static {
        System.loadLibrary("rvxjava");
    }

    private RVXnativeV3() {
    }

    /** Makes sure the native library is loaded; used by the classes that cache field IDs. */
    static void loadLibrary() {
    }

    public static native RVXfileInfo getRVXFileInfoV3(byte[] in) throws RVXException;

    public static native int getTextV3(byte[] in, byte[] out, RVXTextInfo info);

    public static native int getPageTextV3(byte[] in, byte[] out, RVXTextInfo info, int page)
            throws RVXException;

    public static native int getProperty(byte[] in, RVXTextInfo info, RVXProperty property);

    public static native int getPwdTextV3(byte[] in, byte[] out, RVXTextInfo info, byte[] pwd);

    public static native int getPwdPageTextV3(byte[] in, byte[] out, RVXTextInfo info, int page,
            byte[] pwd) throws RVXException;

    public static native int getPwdProperty(byte[] in, RVXTextInfo info, RVXProperty property,
            byte[] pwd);
}
