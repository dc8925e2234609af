// The segment loop of a record of several channels.
#pragma once

// The segment loop of a record of several channels (st.channels of them): each
// segment is read from the file once and transformed channel by channel, each
// channel's overlap and psd swapped through the record's own.
void channel_segment_loop();
