package rvxdemo;

import java.io.BufferedOutputStream;
import java.io.FileDescriptor;
import java.io.FileOutputStream;
import java.io.PrintStream;
import java.io.UnsupportedEncodingException;
import java.lang.reflect.Field;
import java.lang.reflect.Modifier;
import java.nio.charset.Charset;
import java.nio.charset.StandardCharsets;

import quorvel.rvx.v4.RVXExceptionV4;
import quorvel.rvx.v4.RVXPropertyV4;
import quorvel.rvx.v4.RVXTextInfoV4;
import quorvel.rvx.v4.RVXfileInfoV4;
import quorvel.rvx.v4.RVXnativeV4;

/**
 * A command-line tool on top of the V4 bridge: what kind of document a file
 * is, its properties, and its text, whole or one page, to standard output or
 * into a file.
 *
 * Everything it prints is UTF-8, the encoding in which the demonstration
 * engine delivers text. Exit status: 0 on success, 1 when the engine
 * reported an error, 2 for a wrong command line.
 */
public final class RvxText {
    private static final String USAGE = String.join("\n",
            "usage: rvxtext info FILE",
            "       rvxtext props FILE",
            "       rvxtext text FILE [--page N] [--out OUTFILE]",
            "  info   format, sub-format, country and the engine's two numbers",
            "  props  the document's non-empty properties, one per line",
            "  text   the text of the whole document or of page N (counted from 1)",
            "         to standard output, or into OUTFILE with --out;",
            "         --page 0 prints the number of pages instead");

    /**
     * What the demonstration engine's result codes mean, indexed by code;
     * a code beyond them is shown as unknown.
     */
    private static final String[] ENGINE_CODE_MEANINGS = {
        "success",
        "the document does not exist",
        "the document cannot be read",
        "not a plain-text document",
        "no such page",
        "the output file cannot be written",
        "a required argument is missing",
        "the document is too large",
        "the output stream failed",
        "the engine failed inside",
    };

    private static final int EXIT_ENGINE_ERROR = 1;
    private static final int EXIT_USAGE = 2;

    public static void main(String[] args) {
        PrintStream out = new PrintStream(
                new BufferedOutputStream(new FileOutputStream(FileDescriptor.out)), true,
                StandardCharsets.UTF_8);
        PrintStream err = new PrintStream(new FileOutputStream(FileDescriptor.err), true,
                StandardCharsets.UTF_8);
        System.exit(new RvxText(out, err).run(args));
    }

    private final PrintStream out;
    private final PrintStream err;

    RvxText(PrintStream out, PrintStream err) {
        this.out = out;
        this.err = err;
    }

    /** Runs one command line; returns the exit status. */
    int run(String[] args) {
        int status;
        try {
            execute(args);
            status = 0;
        } catch (UsageException e) {
            err.println("rvxtext: " + e.getMessage());
            err.println(USAGE);
            status = EXIT_USAGE;
        } catch (EngineException e) {
            err.println("rvxtext: " + e.getMessage());
            status = EXIT_ENGINE_ERROR;
        }
        out.flush();
        err.flush();
        return status;
    }

    private void execute(String[] args) throws UsageException, EngineException {
        if (args.length < 2) {
            throw new UsageException(args.length == 0 ? "no command" : "no file");
        }
        String command = args[0];
        String file = args[1];
        switch (command) {
            case "info":
                expectNoOptions(args);
                info(file);
                break;
            case "props":
                expectNoOptions(args);
                props(file);
                break;
            case "text":
                text(file, TextOptions.parse(args));
                break;
            default:
                throw new UsageException("unknown command '" + command + "'");
        }
    }

    private static void expectNoOptions(String[] args) throws UsageException {
        if (args.length > 2) {
            throw new UsageException("unexpected argument '" + args[2] + "'");
        }
    }

    private void info(String file) throws EngineException {
        RVXfileInfoV4 info;
        try {
            info = RVXnativeV4.getRVXFileInfoV4(pathBytes(file));
        } catch (RVXExceptionV4 e) {
            throw new EngineException(file, e.getCode());
        }
        out.println("file:        " + file);
        out.println("format:      " + engineString(info.DocFormat));
        out.println("sub-format:  " + engineString(info.DocSubFormat));
        out.println("country:     " + engineString(info.DocCountry));
        out.println("bytes:       " + info.Value1);
        out.println("pages:       " + info.Value2);
    }

    private void props(String file) throws EngineException {
        RVXPropertyV4 property = new RVXPropertyV4();
        int code = RVXnativeV4.getPropertyV4(pathBytes(file), new RVXTextInfoV4(), property);
        if (code != 0) {
            throw new EngineException(file, code);
        }
        // Every public String field of the property class is one property,
        // named as the engine's record names it.
        for (Field field : RVXPropertyV4.class.getDeclaredFields()) {
            if (field.getType() != String.class || !Modifier.isPublic(field.getModifiers())
                    || Modifier.isStatic(field.getModifiers())) {
                continue;
            }
            String value;
            try {
                value = (String) field.get(property);
            } catch (IllegalAccessException e) {
                throw new IllegalStateException("public field not readable: " + field, e);
            }
            if (value != null && !value.isEmpty()) {
                out.println(field.getName() + ": " + value);
            }
        }
    }

    private void text(String file, TextOptions options) throws EngineException {
        byte[] in = pathBytes(file);
        RVXTextInfoV4 textInfo = new RVXTextInfoV4();
        try {
            if (options.page != null && options.page == 0) {
                int pages = RVXnativeV4.getPageTextStreamV4(in, out, textInfo, 0);
                out.println(file + ": " + pages + (pages == 1 ? " page" : " pages"));
            } else if (options.outFile == null) {
                int code = options.page == null
                        ? RVXnativeV4.getTextStreamV4(in, out, textInfo)
                        : RVXnativeV4.getPageTextStreamV4(in, out, textInfo, options.page);
                out.flush();
                if (code != 0) {
                    throw new EngineException(file, code);
                }
            } else {
                byte[] outPath = pathBytes(options.outFile);
                int code = options.page == null
                        ? RVXnativeV4.getTextV4(in, outPath, textInfo)
                        : RVXnativeV4.getPageTextV4(in, outPath, textInfo, options.page);
                if (code != 0) {
                    throw new EngineException(file, code);
                }
            }
        } catch (RVXExceptionV4 e) {
            throw new EngineException(file, e.getCode());
        }
    }

    /**
     * A path as the engine receives it: in the encoding that the Java
     * runtime uses for file names, so that the engine opens the same file.
     */
    private static byte[] pathBytes(String path) {
        String encoding = System.getProperty("sun.jnu.encoding");
        try {
            return encoding == null ? path.getBytes(Charset.defaultCharset()) : path.getBytes(encoding);
        } catch (UnsupportedEncodingException e) {
            return path.getBytes(Charset.defaultCharset());
        }
    }

    /** The demonstration engine reports its strings in UTF-8. */
    private static String engineString(byte[] bytes) {
        return new String(bytes, StandardCharsets.UTF_8);
    }

    static String meaning(int code) {
        return code > 0 && code < ENGINE_CODE_MEANINGS.length
                ? ENGINE_CODE_MEANINGS[code] : "unknown engine code";
    }

    /** The options of the text command. */
    private static final class TextOptions {
        Integer page;
        String outFile;

        static TextOptions parse(String[] args) throws UsageException {
            TextOptions options = new TextOptions();
            for (int i = 2; i < args.length; i += 2) {
                String option = args[i];
                if (i + 1 >= args.length) {
                    throw new UsageException(option + " needs a value");
                }
                String value = args[i + 1];
                switch (option) {
                    case "--page":
                        try {
                            options.page = Integer.valueOf(value);
                        } catch (NumberFormatException e) {
                            throw new UsageException("page '" + value + "' is not a number");
                        }
                        break;
                    case "--out":
                        options.outFile = value;
                        break;
                    default:
                        throw new UsageException("unknown option '" + option + "'");
                }
            }
            if (options.page != null && options.page == 0 && options.outFile != null) {
                throw new UsageException("--page 0 counts pages and writes no file");
            }
            return options;
        }
    }

    private static final class UsageException extends Exception {
        private static final long serialVersionUID = 1L;

        UsageException(String message) {
            super(message);
        }
    }

    /** An engine error, told with the file, the code and its meaning. */
    private static final class EngineException extends Exception {
        private static final long serialVersionUID = 1L;

        EngineException(String file, int code) {
            super(file + ": engine code " + code + ": " + meaning(code));
        }
    }
}
