package quorvel.rvx.v3;

/**
 * The 67 properties of a document, filled by the property calls of
 * {@link RVXnativeV3}. A field is an empty string when the engine reported nothing
 * for it.
 */
public class RVXProperty {
    static {
        RVXnativeV3.loadLibrary();
        initFIDs();
    }

    public String title;
    public String author;
    public String keyword;
    public String subject;
    public String comment;
    public String manager;
    public String company;
    public String category;
    public String createdate;
    public String revision;
    public String lastrevisor;
    public String revisioncount;
    public String lastprintdate;
    public String edittime;
    public String creator;
    public String producer;
    public String encryptionflag;
    public String slides;
    public String paragraphs;
    public String bytes;
    public String notes;
    public String presentation;
    public String doctype;
    public String lastsavetime;
    public String owner;
    public String m_abstract;
    public String account;
    public String address;
    public String attachments;
    public String authorization;
    public String bill_to;
    public String blind_copy;
    public String carbon_copy;
    public String checked_by;
    public String client;
    public String department;
    public String descriptive_name;
    public String descriptive_type;
    public String destination;
    public String disposition;
    public String division;
    public String document_number;
    public String editor;
    public String forward_to;
    public String group;
    public String language;
    public String mail_stop;
    public String matter;
    public String office;
    public String project;
    public String publisher;
    public String purpose;
    public String received_from;
    public String recorded_by;
    public String recorded_date;
    public String reference;
    public String revision_date;
    public String revision_notes;
    public String section;
    public String security;
    public String source;
    public String status;
    public String telephone_number;
    public String typist;
    public String version_date;
    public String version_notes;
    public String version_number;

    /** Looks up the field IDs that the native library uses for this class. */
    static native void initFIDs();
}
